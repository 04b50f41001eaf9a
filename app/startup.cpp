#include "app/startup.h"

#include <QWidget>

#include "app/mainform.h"
#include "connect/wiring.h"

namespace startup {

std::vector<QWidget*> CreateWindows() {
    std::vector<QWidget*> made;
    // The order of creation; windows of later subsystems take their place in
    // it as they are built. Dialogs made per use (about box, message boxes)
    // are not created here.
    //   TMainform, TAboutBox, TSetMenuForm, TMessageBoxForm, TSet_msgform,
    //   TSet_netpopform, TSet_netpopeditform, TSet_netform, TManual_Set,
    //   TSet_securityform, TSet_soundform, TFrmCopyTips, TFmEditPB,
    //   TFrmContacts, TFrmSel, TFrmSmsMain, TFrmSmsList, TFrmSmsEdit,
    //   TFrmSmsRead, TgetInput, TSatMenuDisplayForm, TData_connectform,
    //   TCheckPasswordForm, TCrForm, TSet_netsub, TSet_SS, TCallHangupMsgDfm,
    //   TCall_managerform, TAffixationfrm, Tussdfrm, TDataLogForm,
    //   TFrmViewPB, TProgressBoxForm
    auto* main = new TMainform();
    made.push_back(main);
    // The settings menu, the profile pages, the sound page, the data
    // connection and its log.
    connectwiring::CreateWindows(*main, made);
    return made;
}

void DestroyWindows(std::vector<QWidget*>& windows) {
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) delete *it;
    windows.clear();
}

}  // namespace startup
