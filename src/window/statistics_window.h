#pragma once

#include <QWidget>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "data/mod_udts.h"
#include "stats/effect_statistics.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;

namespace kestavian {

class Dialogs;
class PlotView;

// What the statistics window shows: the extreme-value statistics of the load effect picked in
// the main window, over the file open there, with the probability plot whose points open their
// events. It follows the main window: a new file or another effect recomputes it, another event
// marks that event's point. The computing runs on a worker thread and touches nothing of the main
// window; only its results come back to the window's thread.
class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    // pickEvent picks the event at a list position (from 1) in the main window, as the user would.
    StatisticsWindow(QWidget* mainWindow, Dialogs& dialogs, std::function<void(long)> pickEvent);
    ~StatisticsWindow() override;

    // What the main window shows: its events (storeId changes with every file opened), the file's
    // name, the effect number picked and the list position of the event shown (0 for none).
    void follow(const EventStore& store, long storeId, const std::string& fileName, long effectNo,
                long shownPosition);

    // Waits for a computing under way and shows its result (what the window does when it comes).
    void finishComputing();

    // For tests: what is shown.
    const stats::EffectStatistics& statistics() const { return shown_.statistics; }
    const stats::StatisticsChoice& choice() const { return shown_.choice; }
    QString summary() const;
    QTableWidget* maximaTable() const { return table_; }
    PlotView* plot() const { return plot_; }
    long computings() const { return requested_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // One computing's input and result.
    struct Computed {
        long storeId = -1;
        long effectNo = 0;
        std::string fileName;
        stats::StatisticsChoice choice;
        stats::EffectStatistics statistics;
    };

    void recompute();
    void display(Computed computed);
    void choiceChanged();
    void pickRow(int row);
    void savePlot();
    void copyPlot();
    void remember() const;

    Dialogs& dialogs_;
    std::function<void(long)> pickEvent_;
    QComboBox* block_ = nullptr;
    QCheckBox* byTrucks_ = nullptr;
    QLineEdit* periods_ = nullptr;
    PlotView* plot_ = nullptr;
    QPlainTextEdit* summary_ = nullptr;
    QTableWidget* table_ = nullptr;

    // The main window's state as last followed.
    const EventStore* store_ = nullptr;
    long storeId_ = -1;
    std::string fileName_;
    long effectNo_ = 0;
    long shownPosition_ = 0;

    Computed shown_;
    std::future<Computed> computing_;
    long requested_ = 0; // computings asked for; a result that is not the latest is dropped
};

} // namespace kestavian
