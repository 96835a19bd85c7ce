#pragma once

#include <QFont>
#include <QGuiApplication>
#include <QRect>
#include <cmath>

namespace vistrel {

// Dialog units of the forms' font (MS Sans Serif 8 pt): 1 unit is 1.5 px across and 1.625 px down.
// Each figure is converted on its own and rounded to the nearest pixel, as a dialog template is.
inline int dialogUnitsAcross(int units) {
    return static_cast<int>(std::lround(units * 1.5));
}

inline int dialogUnitsDown(int units) {
    return static_cast<int>(std::lround(units * 1.625));
}

inline QRect dialogRect(int x, int y, int width, int height) {
    return {dialogUnitsAcross(x), dialogUnitsDown(y), dialogUnitsAcross(width), dialogUnitsDown(height)};
}

// The forms' font: the application's family at the size whose text the dialog units were laid out
// for (MS Sans Serif 8 pt is 13 px high), so captions fit the controls as they were drawn.
inline QFont dialogFont() {
    QFont font = QGuiApplication::font();
    font.setPixelSize(11);
    return font;
}

} // namespace vistrel
