#include "connect/wiring.h"

#include <QMetaObject>

#include "app/mainform.h"
#include "app/status_display.h"
#include "app/windows.h"
#include "connect/connect_host.h"
#include "connect/data_connectform.h"
#include "connect/datalogform.h"
#include "connect/domain/profile.h"
#include "connect/set_netpop.h"
#include "connect/set_netsub.h"
#include "prefs/setmenu.h"
#include "prefs/soundpage.h"

namespace connectwiring {

void CreateWindows(TMainform& main, std::vector<QWidget*>& made) {
    profiles::LoadDefault();
    profiles::LoadFactory();

    ConnectHost& h = Host();
    h.SetMainTitle = [&main](const QString& t) { main.SetMainTitle(t); };
    h.HasNetworkService = [&main] { return !main.Status() || main.Status()->HasNetworkService() != 0; };
    // The indications check the connection state the main window learns from
    // 1127, which is posted: they run after it, in the same queue.
    h.ShowConnected = [&main] {
        if (TStatusDisplay* s = main.Status())
            QMetaObject::invokeMethod(s, [s] { s->ShowConnected(); }, Qt::QueuedConnection);
    };
    h.ShowDisconnected = [&main] {
        if (TStatusDisplay* s = main.Status())
            QMetaObject::invokeMethod(s, [s] { s->ShowDisconnected(); }, Qt::QueuedConnection);
    };
    h.SetNetworkType = [&main](const QString& t) {
        if (main.Status()) main.Status()->SetNetworkTypeText(t);
    };
    h.UpdateDriverNetState = [&main] { main.UpdateDriverNetState(); };
    h.CallInProgress = [&main] { return main.CallState() != 0; };
    h.DeviceState = [&main] { return main.GetDeviceState(); };
    h.DataStateReceivers = [&main] {
        std::vector<HWND> out{main.Handle()};
        for (const char* name : {"TSet_netform", "TSet_securityform", "TSet_SS", "TSet_msgform", "TSet_soundform"})
            if (auto* t = dynamic_cast<MessageTarget*>(windows::Find(name))) out.push_back(t->Handle());
        return out;
    };
    main.DefaultModemPara = [](TMainform::ModemPara* out) -> std::optional<bool> {
        profiles::ModemParameters m;
        if (!profiles::DefaultModemParameters(&m)) return false;
        out->pdpType = QByteArray::fromStdString(m.pdpType);
        out->apn = QByteArray::fromStdString(m.apn);
        out->pdpAddress = QByteArray::fromStdString(m.pdpAddress);
        return true;
    };

    QWidget* panel = main.Mainpanel;
    auto* menu = new TSetMenuForm(panel);
    auto* add = new TSet_netpopform(&main);
    auto* edit = new TSet_netpopeditform(&main);
    auto* sound = new TSet_soundform(panel);
    auto* data = new TData_connectform(panel);
    data->hide();
    auto* list = new TSet_netsub(panel, add, edit);
    auto* log = new TDataLogForm(panel);
    // Children of the main window go with it; the list keeps the order of creation.
    for (QWidget* w : std::initializer_list<QWidget*>{menu, add, edit, sound, data, list, log}) made.push_back(w);
}

}  // namespace connectwiring
