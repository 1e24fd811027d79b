#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <cmath>

#include "cli/cli_runner.h"
#include "window/plot_view.h"
#include "window/statistics_window.h"
#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

using StatisticsWindowTest = WindowTest;

// Opened with Ctrl+T on the sample, the window shows what kestavian-cli stats finds for the
// effect picked; a click on its top point picks that event in the main window, which then draws
// what kestavian-cli render draws; another effect picked is followed.
TEST_F(StatisticsWindowTest, ShowsTheEffectPickedAndItsPointsOpenTheirEvents) {
    window->show();
    QApplication::setActiveWindow(window.get());
    open(Sample);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_T, Qt::ControlModifier);
    QApplication::sendEvent(ui().Editor, &press);
    StatisticsWindow* statistics = window->statisticsWindow();
    ASSERT_NE(statistics, nullptr);
    const auto statsOf = [](const char* effect, QStringList more = {}) {
        return runCli(QStringList{"stats", QString::fromStdString(Sample), "--effect", effect} +
                      more)
            .out;
    };
    // What is shown once the result reaches the window's thread.
    const auto shown = [&](const QString& expected) {
        for (const QDeadlineTimer deadline(20000);
             statistics->summary() != expected && !deadline.hasExpired();)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        return statistics->summary();
    };
    const QString first = statsOf("1");
    EXPECT_EQ(shown(first), first);
    QStringList labels;
    for (const QLabel* label : statistics->findChildren<QLabel*>())
        labels << label->text();
    EXPECT_EQ(labels.join('|'), "Block:|Return periods (years):");
    EXPECT_TRUE(statistics->findChild<QPlainTextEdit*>()->isReadOnly());

    // The top maximum: the first row of the table, and the highest point of the plot.
    QTableWidget* table = statistics->maximaTable();
    ASSERT_GT(table->rowCount(), 10);
    std::string bits; // a click picks one whole row, no edit, no row numbers; the plot points
    for (const bool on :
         {table->editTriggers() == QAbstractItemView::NoEditTriggers,
          table->selectionBehavior() == QAbstractItemView::SelectRows,
          table->selectionMode() == QAbstractItemView::SingleSelection,
          table->verticalHeader()->isHidden(), table->horizontalHeader()->stretchLastSection(),
          statistics->plot()->cursor().shape() == Qt::PointingHandCursor})
        bits += on ? '1' : '0';
    EXPECT_EQ(bits, "111111");
    const long top = table->item(0, 0)->data(Qt::UserRole).toLongLong();
    QStringList headers, cells; // its time, 27244196.96 s, worked out on the 250-day calendar
    for (int c = 0; c < table->columnCount(); ++c) {
        headers << table->horizontalHeaderItem(c)->text();
        cells << table->item(0, c)->text();
    }
    EXPECT_EQ(headers.join('|'), "Rank|Value|Event|Time|Trucks");
    EXPECT_EQ(cells.join('|'), "1|5165.65|16426|year 1, month 3, day 16, 07:49:56.96|2");
    const std::optional<QPointF> point = statistics->plot()->pointOfPosition(top);
    ASSERT_TRUE(point);
    const long computings = statistics->computings();
    const QImage unringed = statistics->plot()->grab().toImage();
    QMouseEvent click(QEvent::MouseButtonPress, *point, statistics->plot()->mapToGlobal(*point),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(statistics->plot(), &click);
    EXPECT_EQ(ui().cmbEvent->currentIndex() + 1, top);
    EXPECT_EQ(ui().cmbEvent->currentText(), "16426");
    EXPECT_EQ(statistics->computings(), computings); // another event of the same effect
    // Its point is ringed now, in red, smoothed: some pixels only partly covered.
    const QImage ringed = statistics->plot()->grab().toImage();
    int red = 0, blended = 0;
    double farthest = 0;                // of the pixels changed, from the point's centre
    const QPoint at = point->toPoint(); // around it only: the ring of the event shown before goes
    for (int y = at.y() - 10; y <= at.y() + 10; ++y)
        for (int x = at.x() - 10; x <= at.x() + 10; ++x)
            if (ringed.pixel(x, y) != unringed.pixel(x, y)) {
                ++(ringed.pixel(x, y) == qRgb(0xD0, 0x20, 0x20) ? red : blended);
                farthest =
                    std::max(farthest, std::hypot(x + 0.5 - point->x(), y + 0.5 - point->y()));
            }
    EXPECT_GT(red, 20);
    EXPECT_GT(blended, 20);
    EXPECT_NEAR(farthest, 8.5, 0.4); // a ring of radius 7 under a pen of 2, smoothed
    // The plot over 57 % of the height below the choices, the table over 43 % of the width.
    const double plotShare =
        statistics->plot()->height() / double(statistics->plot()->height() + table->height());
    EXPECT_NEAR(plotShare, 430.0 / 760, 0.02);
    EXPECT_NEAR(table->width() / double(statistics->width()), 0.43, 0.02);
    EXPECT_EQ(statistics->plot()->minimumSize(), QSize(480, 300));
    const QString out = QString::fromStdString(path("top.png"));
    ASSERT_EQ(runCli({"render", QString::fromStdString(Sample), "--position", QString::number(top),
                      "--effect", "1", "--out", out})
                  .status,
              0);
    EXPECT_EQ(rgb32(QImage(out)), ui().GA->surface().Image());

    // The plot saved where the user chooses, and copied.
    const auto button = [&](const QString& text) {
        for (QPushButton* b : statistics->findChildren<QPushButton*>())
            if (b->text() == text)
                return b;
        return static_cast<QPushButton*>(nullptr);
    };
    dialogs->saves.push_back(Dialogs::SaveChoice{path("plot"), 1});
    button("Save Plot...")->click();
    EXPECT_TRUE(QFile(QString::fromStdString(path("plot.svg"))).size() > 1000);
    button("Copy Plot")->click();
    EXPECT_EQ(QApplication::clipboard()->image().size(), statistics->plot()->size());

    pick(ui().cmbEffect, 1);
    statistics->finishComputing();
    EXPECT_EQ(statistics->summary(), statsOf("2"));
    EXPECT_EQ(statistics->windowTitle(), "Statistics of load effect 2 - Events_30_sample.txt");
    statistics->findChild<QLineEdit*>()->setText("75,1000");
    statistics->findChild<QCheckBox*>()->click();
    statistics->findChild<QComboBox*>()->setCurrentIndex(1); // the result before is not shown
    const QString week =
        statsOf("2", {"--by-trucks", "--return-period", "75,1000", "--block", "week"});
    EXPECT_EQ(shown(week), week);
    // The points of the week's maxima open their own events.
    const long weekTop = table->item(0, 0)->data(Qt::UserRole).toLongLong();
    const std::optional<QPointF> weekPoint = statistics->plot()->pointOfPosition(weekTop);
    ASSERT_TRUE(weekPoint);
    QMouseEvent weekClick(QEvent::MouseButtonPress, *weekPoint,
                          statistics->plot()->mapToGlobal(*weekPoint), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(statistics->plot(), &weekClick);
    EXPECT_EQ(ui().cmbEvent->currentIndex() + 1, weekTop);
    int plotted = 0; // the week's maxima only, none of the day's before them
    for (long position = 1; position <= 40; ++position)
        plotted += statistics->plot()->pointOfPosition(position).has_value();
    EXPECT_EQ(plotted, table->rowCount());
    // Periods that are no years say what to type, and keep the figures from being shown.
    QLineEdit* periods = statistics->findChild<QLineEdit*>();
    periods->setText("1");
    emit periods->editingFinished();
    EXPECT_EQ(statistics->summary(), "Return periods: type years over 1, such as 75,100,1000.");
    periods->setText("75,1000");
    emit periods->editingFinished();
    // A row still shown from the file before picks nothing in the one just opened.
    open(workedExample("Events_20_worked.txt"));
    emit table->cellClicked(0, 0);
    EXPECT_EQ(ui().cmbEvent->currentIndex(), 0);
    EXPECT_TRUE(dialogs->messageBoxCalls.empty());
    statistics->finishComputing();
    // A plot that cannot be saved is told, with the reason.
    dialogs->saves.push_back(Dialogs::SaveChoice{path("none/plot"), 0});
    button("Save Plot...")->click();
    ASSERT_EQ(dialogs->messageBoxCalls.size(), 1u);
    EXPECT_TRUE(QString::fromStdString(dialogs->messageBoxCalls[0].text)
                    .startsWith("The plot could not be saved to " +
                                QString::fromStdString(path("none/plot.png")) + ": "));
    // A new window starts from the choices last made, at the size it was closed at.
    statistics->resize(700, 500);
    statistics->close();
    const StatisticsWindow again(nullptr, *dialogs, [](long) {});
    EXPECT_EQ(again.size(), QSize(700, 500));
    EXPECT_TRUE(again.findChild<QCheckBox*>()->isChecked());
    EXPECT_EQ(again.findChild<QLineEdit*>()->text(), "75,1000");
    EXPECT_EQ(again.findChild<QComboBox*>()->currentIndex(), 1);
    EXPECT_EQ(again.windowTitle(), "Statistics"); // until its first figures are shown
}

} // namespace
} // namespace kestavian::test
