#include "app/platform/QtPrompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringDecoder>

namespace vistrel {

namespace {
const char* const kApplicationTitle = "Vistrel Application";
}

QString displayText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) {
        return text;
    }
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

PromptAnswer QtPrompts::ask(const std::string& text, PromptButtons buttons) {
    QMessageBox::StandardButtons standard = QMessageBox::Ok;
    if (buttons == PromptButtons::YesNo) {
        standard = QMessageBox::Yes | QMessageBox::No;
    } else if (buttons == PromptButtons::YesNoCancel) {
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    if (m_silent) {
        return buttons == PromptButtons::Ok      ? PromptAnswer::Ok
               : buttons == PromptButtons::YesNo ? PromptAnswer::No
                                                 : PromptAnswer::Cancel;
    }
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kApplicationTitle), displayText(text), standard, m_owner);
    // Messages carry texts from the camera, descriptions and paths: shown as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    default:
        // Escape or the close box on a Yes/No box counts as the safe answer.
        return buttons == PromptButtons::Ok      ? PromptAnswer::Ok
               : buttons == PromptButtons::YesNo ? PromptAnswer::No
                                                 : PromptAnswer::Cancel;
    }
}

void QtPrompts::tellWithCaption(const std::string& caption, const std::string& text) {
    if (m_silent) {
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, displayText(caption), displayText(text), QMessageBox::Ok, nullptr);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtPrompts::beep(BeepKind /*kind*/) {
    if (m_silent) {
        return;
    }
    QApplication::beep();
}

} // namespace vistrel
