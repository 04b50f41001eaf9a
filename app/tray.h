// The main window's icon in the notification area, `TrayIcon_Main`: a
// picture from one of four image lists, an 800 ms animation through the
// list, a hint, a left double click that restores the main window and the
// right-click menu `PopupMenu_TrayMain`.
//
// The tray knows nothing of the device: the status display chooses the
// list and the index, the main window decides what the menu items do
// (through the On... hooks) and which are shown and enabled.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "widgets/artwork_lists.h"

class QAction;
class QMenu;
class QSystemTrayIcon;
class TTimer;

class TTrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TTrayIcon(QObject* parent);
    ~TTrayIcon() override;

    // --- picture --------------------------------------------------------
    // The image list in use (starts as ImageList_TrayMain, index 0).
    artwork::ImageList Images() const { return images_; }
    bool Uses(artwork::ImageList list) const { return images_ == list; }
    // Switches the list; the index is kept (a picture index past the end of
    // the new list shows its picture index mod count).
    void SetImages(artwork::ImageList list);
    int IconIndex() const { return index_; }
    void SetIconIndex(int index);
    // Switches the list and sets the index in one step.
    void Show(artwork::ImageList list, int index);

    // Animation: every 800 ms the index advances and wraps after the last
    // picture of the list in use.
    void StartAnimation();
    void StopAnimation();
    bool Animating() const;
    void AnimationTick();   // one step, as the timer does
    TTimer* Timer_TrayAnimate = nullptr;

    // --- hint -------------------------------------------------------------
    // Replaced only by a different text shorter than 64 characters; a
    // longer text keeps the previous hint; an empty text removes it.
    void SetHint(const QString& hint);
    QString Hint() const { return hint_; }

    // --- presence ---------------------------------------------------------
    void SetVisible(bool visible);
    bool Visible() const { return visible_; }
    // Takes the icon out of the notification area for good (log-off, exit).
    void Remove();
    // The picture shown now (for screenshots and tests).
    QPixmap Picture() const;

    // --- menu `PopupMenu_TrayMain` --------------------------------------
    // Items in order: Menu_PowerOff, Menu_Offline, Menu_Online,
    // Menu_FSettings (hidden at start), Menu_N1, Menu_Help, UnlockDataCard
    // (hidden at start), Menu_About, Menu_N2, Menu_Exit. Captions come
    // from the language table; UnlockDataCard keeps its fixed caption.
    enum class Item { PowerOff, Offline, Online, FSettings, N1, Help, Unlock, About, N2, Exit };
    void SetItemVisible(Item item, bool visible);
    void SetItemEnabled(Item item, bool enabled);
    bool ItemVisible(Item item) const;
    bool ItemEnabled(Item item) const;
    QAction* Action(Item item) const;
    // Runs the item's command as a click would (only when enabled and visible).
    void Trigger(Item item);

    QMenu* PopupMenu_TrayMain = nullptr;
    QAction* Menu_PowerOff = nullptr;
    QAction* Menu_Offline = nullptr;
    QAction* Menu_Online = nullptr;
    QAction* Menu_FSettings = nullptr;
    QAction* Menu_N1 = nullptr;
    QAction* Menu_Help = nullptr;
    QAction* UnlockDataCard = nullptr;
    QAction* Menu_About = nullptr;
    QAction* Menu_N2 = nullptr;
    QAction* Menu_Exit = nullptr;

    // Commands the main window carries out.
    std::function<void()> OnPowerOff, OnOffline, OnOnline, OnFSettings, OnHelp, OnUnlock, OnAbout, OnExit;
    // Left double click: restore the main window from the tray.
    std::function<void()> OnRestore;
    // Called before the menu opens (bring the application's active window
    // to the front).
    std::function<void()> OnBeforeMenu;

    // Mouse events as the notification area reports them (also used by tests).
    void LeftDoubleClick();
    void RightButtonUp();

private:
    void refresh();
    artwork::ImageList images_ = artwork::ImageList::TrayMain;
    int index_ = 0;
    QString hint_;
    bool visible_ = false;
    bool removed_ = false;
    QSystemTrayIcon* icon_ = nullptr;
};
