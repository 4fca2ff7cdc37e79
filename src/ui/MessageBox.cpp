#include "MessageBox.h"

namespace qlmib::ui {

std::int32_t DefaultMsgBoxAnswer(std::int32_t buttons) {
    static constexpr std::int32_t kButtons[][3] = {
        {MsgBoxResultOK, MsgBoxResultOK, MsgBoxResultOK},
        {MsgBoxResultOK, MsgBoxResultCancel, MsgBoxResultCancel},
        {MsgBoxResultAbort, MsgBoxResultRetry, MsgBoxResultIgnore},
        {MsgBoxResultYes, MsgBoxResultNo, MsgBoxResultCancel},
        {MsgBoxResultYes, MsgBoxResultNo, MsgBoxResultNo},
        {MsgBoxResultRetry, MsgBoxResultCancel, MsgBoxResultCancel},
    };
    const std::int32_t set = buttons & 7;
    const std::int32_t which = (buttons & MsgBoxDefaultButton3) ? 2 : ((buttons & MsgBoxDefaultButton2) ? 1 : 0);
    return set < 6 ? kButtons[set][which] : MsgBoxResultOK;
}

}  // namespace qlmib::ui
