#include "window/frm_main.h"

#include <QComboBox>
#include <QMenu>

#include "window/statistics_window.h"

namespace kestavian {

void frmMain::showStatistics() {
    if (!statistics_)
        statistics_ = std::make_unique<StatisticsWindow>(
            this, *dialogs_, [this](long position) { pickFromStatistics(position); });
    statistics_->show();
    statistics_->raise();
    statistics_->activateWindow();
    followInStatistics();
}

void frmMain::followInStatistics() {
    if (!statistics_ || !statistics_->isVisible())
        return;
    statistics_->follow(store, filesOpened_, store.FileName, cmbEffect->currentText().toLong(),
                        cmbEvent->currentIndex() + 1);
}

// A point or a row of the statistics: the event picked in the list, as the user would pick it.
void frmMain::pickFromStatistics(long position) {
    if (position < 1 || position > cmbEvent->count())
        return;
    run([&] {
        cmbEvent->setCurrentIndex(static_cast<int>(position - 1));
        cmbEvent_Click();
    });
}

void frmMain::addStatisticsEntry(QMenu& menu) {
    const QString effect = cmbEffect->currentText();
    QAction* entry =
        menu.addAction(effect.isEmpty() ? QString("Statistics...")
                                        : QString("Statistics of load effect %1...").arg(effect),
                       QKeySequence(Qt::CTRL | Qt::Key_T), this, [this] { showStatistics(); });
    entry->setEnabled(FileLoaded);
}

} // namespace kestavian
