// The data-connection page: dials the default profile over the card's modem
// through the dial-up service, follows the connection through its five
// states, shows live statistics and hands each finished connection to the
// connection log.
#pragma once

#include <QDateTime>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/devicestate.h"
#include "connect/domain/datalog.h"
#include "connect/domain/linkstats.h"
#include "platform/dialup.h"
#include "platform/winmsg.h"

class QLabel;
class TImageButton;
class TTimer;
class TGetDisconnetcNotify;

class TData_connectform : public QWidget, public MessageTarget, public DeviceStateListener {
    Q_OBJECT
public:
    enum : std::uint8_t { Idle = 0, Dialling = 1, Cancelling = 2, Connected = 3, Disconnecting = 4 };

    explicit TData_connectform(QWidget* parent);
    ~TData_connectform() override;

    // The connection state, 0 to 4.
    std::uint8_t ConnectionState() const { return state_; }
    std::uint8_t ShownState() const { return shown_; }
    void DeviceStateChanged(std::uint8_t code) override;
    // The tray hint while connected; empty otherwise.
    Q_INVOKABLE QString StatisticsSummary() const;
    static QString DurationText(std::uint32_t seconds);

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    UINT DialEventMessage() const { return dialEventMsg_; }
    dialup::HCONN ConnectionHandle() const { return conn_; }
    const TLinkStats& Stats() const { return stats_; }
    const QString& DriverClassKey() const { return driverClassKey_; }

    // Clock seams (tests): milliseconds like GetTickCount, local time.
    std::function<std::uint32_t()> TickCount;
    std::function<QDateTime()> Now;
    // Where a finished connection goes; by default the connection log.
    std::function<void(const datalog::ConnectionRecord&)> OnConnectionEnded;

    TImageButton* ImButtonConnect;
    QLabel* DataHintLabel;
    QLabel* DataStateLabel;
    QLabel* DataTitleLabel;
    QLabel* DataTransportLabel;
    QLabel* DataReceivedLabel;
    QLabel* DataTimeLabel;
    QLabel* DataTxRateLabel;
    QLabel* DataRxRateLabel;
    QLabel* DataStateImage;
    QLabel* DataAnimateImage;
    QLabel* QueryLog;

    TTimer* LinkDataUpdate;
    TTimer* DataAnimate;
    TTimer* CheckConnStatus;
    TTimer* EnableConnBtn;
    TTimer* NetStatusTimer;

    void ImButtonConnectClick();
    void LinkDataUpdateTimer();
    void DataAnimateTimer();
    void CheckConnStatusTimer();
    void EnableConnBtnTimer();
    void NetStatusTimerTimer();
    void QueryLogClick();
    void FormShow();

    int AnimationFrame() const { return frame_; }   // last frame drawn, -1 none

protected:
    void showEvent(QShowEvent*) override;
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void connectSequence();
    bool writeEntry(const dialup::Device& device);
    void dial();
    void setState(std::uint8_t s);
    void drawState(std::uint8_t s);
    void hangUp();
    bool sample();
    void showStatistics();
    void hideStatistics();
    void stopAnimation();
    void startAnimation(int tag);
    void drawFrame(int index, bool makeVisible);
    void rasErrorReport(std::uint32_t code);
    void warn(unsigned id);
    bool buttonAllowed() const;
    bool statusConnected(dialup::HCONN h);
    void startCleanup();
    void resetStatistics();
    QString profileName() const;

    std::uint8_t state_ = Idle;
    std::uint8_t shown_ = Idle;
    std::uint8_t deviceState_ = 0;
    dialup::HCONN conn_ = 0;
    UINT dialEventMsg_ = 0;
    QString driverClassKey_;
    bool suppressError_ = false;
    TLinkStats stats_;
    int cleanupAttempts_ = 0;
    int frame_ = -1;
    std::string entryName_;
    datalog::ConnectionRecord record_;
    std::vector<std::shared_ptr<TGetDisconnetcNotify>> watchers_;
};
