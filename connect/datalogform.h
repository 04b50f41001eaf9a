// The connection log page: one row per finished data connection, kept as
// call entries of list kind 4; about two months are kept, older entries are
// pruned each time the page is opened.
#pragma once

#include <QDate>
#include <QWidget>
#include <functional>

#include "connect/domain/datalog.h"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class TImageButton;

class TDataLogForm : public QWidget {
    Q_OBJECT
public:
    explicit TDataLogForm(QWidget* parent);
    ~TDataLogForm() override;

    // Stores a finished connection (nothing for a duration of 0) and reloads.
    bool Append(const datalog::ConnectionRecord& record);
    // The same without a page to reload.
    static bool Store(const datalog::ConnectionRecord& record);
    void Load();
    void Prune();

    void ColumnClick(int column);
    void DeleteButtonClick();
    void ClearAllButtonClick();
    void ReturnButtonClick();
    void FormShow();

    int SortColumn() const { return sortColumn_; }
    int SortDirection() const { return sortDirection_; }
    // The entry a row keeps.
    static const _VELK_CALL_ENTRY& EntryOf(const QTreeWidgetItem* row);

    // Today's date (tests).
    std::function<QDate()> Today;

    QTreeWidget* ListViewDataLog;
    QLabel* TotleLabel;
    QLabel* TotleDataValue;
    QLabel* TotalTimeLabel;
    QLabel* TotalTime;
    TImageButton* DeleteButton;
    TImageButton* ClearAllButton;
    TImageButton* ReturnButton;

protected:
    void showEvent(QShowEvent*) override;
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void computeTotals();
    void sortRows();
    void updateButtons();
    QString cutoffKey() const;

    int sortColumn_ = 1;
    int sortDirection_ = 1;
};
