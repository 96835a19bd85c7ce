#pragma once

namespace vistrel {

// Control ids of the link dialogs; each widget's objectName carries its id.
enum LinkControlId : int {
    kIdOk = 1,
    kIdCancel = 2,
    kIdCameraLinkPortList = 1026,
    kIdCom1Radio = 1029,
    kIdCom2Radio = 1030,
    kIdBaudRateList = 1031,
    kIdCom1Device = 1040,
    kIdCom2Device = 1041,
};

} // namespace vistrel
