#pragma once
// The message box codes of the original platform: buttons and icon of the
// Buttons argument, and the button a box answers with.

#include <cstdint>

namespace qlmib::ui {

enum MsgBoxStyle : std::int32_t {
    MsgBoxOKOnly = 0,
    MsgBoxOKCancel = 1,
    MsgBoxAbortRetryIgnore = 2,
    MsgBoxYesNoCancel = 3,
    MsgBoxYesNo = 4,
    MsgBoxRetryCancel = 5,
    MsgBoxCritical = 16,  // the stop icon
    MsgBoxQuestion = 32,
    MsgBoxExclamation = 48,
    MsgBoxInformation = 64,
    MsgBoxDefaultButton2 = 256,
    MsgBoxDefaultButton3 = 512,
};

enum MsgBoxResult : std::int32_t {
    MsgBoxResultOK = 1,
    MsgBoxResultCancel = 2,
    MsgBoxResultAbort = 3,
    MsgBoxResultRetry = 4,
    MsgBoxResultIgnore = 5,
    MsgBoxResultYes = 6,
    MsgBoxResultNo = 7,
};

// The answer of the box's default button (Enter).
std::int32_t DefaultMsgBoxAnswer(std::int32_t buttons);

}  // namespace qlmib::ui
