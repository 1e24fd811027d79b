#include "window/statistics_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <sstream>

#include "data/calendar.h"
#include "platform/numbers.h"
#include "platform/runtime_error.h"
#include "stats/statistics_text.h"
#include "window/dialogs.h"
#include "window/frm_main.h"
#include "window/plot_view.h"

namespace kestavian {

namespace {

constexpr stats::BlockSize BlockSizes[] = {stats::BlockSize::Day, stats::BlockSize::Week,
                                           stats::BlockSize::Month, stats::BlockSize::Year};

// The statistics of one effect's load events (its effects with a truck, copied from the events
// held), as kestavian-cli stats computes them for a file.
stats::EffectStatistics computeStatistics(const std::vector<stats::LoadEvent>& events,
                                          const stats::StatisticsChoice& choice) {
    stats::EffectMaxima maxima(choice.block, 0, choice.byTrucks);
    for (const stats::LoadEvent& event : events)
        maxima.add(event);
    const stats::EffectMaxima* runs[] = {&maxima};
    return stats::effectStatistics(runs, choice);
}

} // namespace

StatisticsWindow::StatisticsWindow(QWidget* mainWindow, Dialogs& dialogs,
                                   std::function<void(long)> pickEvent)
    : QWidget(mainWindow, Qt::Window), dialogs_(dialogs), pickEvent_(std::move(pickEvent)) {
    setObjectName("statisticsWindow");
    setWindowTitle("Statistics");
    block_ = new QComboBox;
    for (const stats::BlockSize size : BlockSizes)
        block_->addItem(stats::blockName(size));
    byTrucks_ = new QCheckBox("By number of trucks");
    periods_ = new QLineEdit("1000");
    periods_->setToolTip("Return periods in years, such as 75,100,1000");
    auto* save = new QPushButton("Save Plot...");
    auto* copy = new QPushButton("Copy Plot");
    plot_ = new PlotView;
    summary_ = new QPlainTextEdit;
    summary_->setReadOnly(true);
    summary_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    table_ = new QTableWidget(0, 5);
    table_->setHorizontalHeaderLabels({"Rank", "Value", "Event", "Time", "Trucks"});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    table_->horizontalHeader()->setStretchLastSection(true);

    auto* choices = new QHBoxLayout;
    choices->addWidget(new QLabel("Block:"));
    choices->addWidget(block_);
    choices->addWidget(byTrucks_);
    choices->addWidget(new QLabel("Return periods (years):"));
    choices->addWidget(periods_, 1);
    choices->addWidget(save);
    choices->addWidget(copy);
    auto* below = new QSplitter(Qt::Horizontal);
    below->addWidget(summary_);
    below->addWidget(table_);
    auto* whole = new QSplitter(Qt::Vertical);
    whole->addWidget(plot_);
    whole->addWidget(below);
    whole->setSizes({430, 330});
    below->setSizes({560, 440});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(whole, 1);

    // The size and choices of the last time.
    QSettings settings = programSettings();
    resize(settings.value("statistics/size", QSize(1000, 820)).toSize());
    block_->setCurrentIndex(std::clamp(settings.value("statistics/block", 0).toInt(), 0, 3));
    byTrucks_->setChecked(settings.value("statistics/byTrucks", false).toBool());
    periods_->setText(settings.value("statistics/periods", "1000").toString());

    connect(block_, &QComboBox::currentIndexChanged, this, &StatisticsWindow::choiceChanged);
    connect(byTrucks_, &QCheckBox::toggled, this, &StatisticsWindow::choiceChanged);
    connect(periods_, &QLineEdit::editingFinished, this, &StatisticsWindow::choiceChanged);
    connect(save, &QPushButton::clicked, this, &StatisticsWindow::savePlot);
    connect(copy, &QPushButton::clicked, this, &StatisticsWindow::copyPlot);
    connect(table_, &QTableWidget::cellClicked, this, [this](int row, int) { pickRow(row); });
    connect(plot_, &PlotView::maximumClicked, this, [this](long position) {
        if (pickEvent_)
            pickEvent_(position);
    });
}

StatisticsWindow::~StatisticsWindow() {
    if (computing_.valid())
        computing_.wait();
}

void StatisticsWindow::follow(const EventStore& store, long storeId, const std::string& fileName,
                              long effectNo, long shownPosition) {
    const bool changed = storeId != storeId_ || effectNo != effectNo_;
    store_ = &store;
    storeId_ = storeId;
    fileName_ = fileName;
    effectNo_ = effectNo;
    shownPosition_ = shownPosition;
    if (changed)
        recompute();
    plot_->markPosition(shownPosition_);
}

void StatisticsWindow::choiceChanged() {
    remember();
    recompute();
}

void StatisticsWindow::recompute() {
    const std::optional<std::vector<double>> years =
        stats::returnPeriodsIn(periods_->text().toStdString());
    if (!years) {
        summary_->setPlainText("Return periods: type years over 1, such as 75,100,1000.");
        return;
    }
    Computed input;
    input.storeId = storeId_;
    input.effectNo = effectNo_;
    input.fileName = fileName_;
    input.choice = {BlockSizes[std::clamp(block_->currentIndex(), 0, 3)], byTrucks_->isChecked(),
                    stats::Model::Gev, *years};
    // The load events are copied here, on the window's thread: the worker reads nothing shared.
    std::vector<stats::LoadEvent> events;
    if (store_ != nullptr)
        for (long i = 1; i <= store_->NoEvents; ++i) {
            const EventData& event = store_->Events.at(i);
            if (effectNo_ < 1 || effectNo_ > event.EffectCount)
                continue;
            const EffectData& effect = event.Effects.at(effectNo_);
            if (effect.NoTrucks > 0)
                events.push_back({effect.Value, effect.Time, static_cast<std::uint64_t>(i),
                                  event.EventNo, effect.NoTrucks});
        }
    if (computing_.valid())
        computing_.wait();
    const long request = ++requested_;
    computing_ = std::async(std::launch::async, [this, request, input, events]() mutable {
        input.statistics = computeStatistics(events, input.choice);
        // Shown on the window's thread, unless a later computing has been asked for.
        QMetaObject::invokeMethod(
            this,
            [this, request] {
                if (request == requested_ && computing_.valid())
                    display(computing_.get());
            },
            Qt::QueuedConnection);
        return input;
    });
}

void StatisticsWindow::finishComputing() {
    if (computing_.valid())
        display(computing_.get());
}

void StatisticsWindow::display(Computed computed) {
    shown_ = std::move(computed);
    setWindowTitle(QString("Statistics of load effect %1 - %2")
                       .arg(shown_.effectNo)
                       .arg(QString::fromStdString(fileName_)));
    std::ostringstream text;
    text << stats::statisticsHeading(shown_.choice.block) << '\n';
    stats::writeEffectText(text, static_cast<int>(shown_.effectNo), shown_.statistics,
                           shown_.choice, {});
    summary_->setPlainText(QString::fromStdString(text.str()));

    // The block maxima, greatest first.
    const stats::GroupStatistics& all = shown_.statistics.groups.front();
    std::vector<stats::BlockMaximum> maxima;
    if (all.sample)
        maxima = all.sample->maxima;
    std::stable_sort(maxima.begin(), maxima.end(),
                     [](const auto& a, const auto& b) { return a.value > b.value; });
    table_->setRowCount(static_cast<int>(maxima.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const stats::BlockMaximum& m = maxima[static_cast<std::size_t>(row)];
        const QStringList cells{
            QString::number(row + 1), QString::fromStdString(shortestForm(m.value)),
            QString::number(m.eventNumber), QString::fromStdString(calendarText(m.time)),
            QString::number(m.trucks)};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setData(Qt::UserRole,
                          QVariant::fromValue<qlonglong>(static_cast<qlonglong>(m.position)));
            table_->setItem(row, column, item);
        }
    }
    table_->resizeColumnsToContents();
    plot_->setStatistics(shown_.statistics, shown_.choice, QString::fromStdString(fileName_),
                         static_cast<int>(shown_.effectNo)); // the shown event's ring stays
}

void StatisticsWindow::pickRow(int row) {
    if (const QTableWidgetItem* item = table_->item(row, 0); item != nullptr && pickEvent_)
        pickEvent_(static_cast<long>(item->data(Qt::UserRole).toLongLong()));
}

QString StatisticsWindow::summary() const {
    return summary_->toPlainText();
}

void StatisticsWindow::savePlot() {
    QSettings settings = programSettings();
    const QString folder =
        settings.value("statistics/lastFolder", settings.value(LastOpenFolderKey, QDir::homePath()))
            .toString();
    const std::optional<Dialogs::SaveChoice> choice = dialogs_.saveFile(
        {"PNG image (*.png)", "SVG drawing, for reports (*.svg)"},
        QFile::encodeName(
            QDir(folder).filePath(QString("Statistics_effect_%1.png").arg(shown_.effectNo)))
            .toStdString());
    if (!choice)
        return;
    QString path = QFile::decodeName(choice->path.c_str());
    if (!path.endsWith(".png", Qt::CaseInsensitive) && !path.endsWith(".svg", Qt::CaseInsensitive))
        path += choice->filter == 1 ? ".svg" : ".png";
    if (const QString reason = plot_->writeTo(path); !reason.isEmpty()) {
        dialogs_.messageBox(
            ("The plot could not be saved to " + path + ": " + reason).toStdString(), AppTitle);
        return;
    }
    settings.setValue("statistics/lastFolder", QFileInfo(path).absolutePath());
}

void StatisticsWindow::copyPlot() {
    QApplication::clipboard()->setImage(plot_->image());
}

void StatisticsWindow::remember() const {
    QSettings settings = programSettings();
    settings.setValue("statistics/block", block_->currentIndex());
    settings.setValue("statistics/byTrucks", byTrucks_->isChecked());
    settings.setValue("statistics/periods", periods_->text());
}

void StatisticsWindow::closeEvent(QCloseEvent* event) {
    programSettings().setValue("statistics/size", size());
    QWidget::closeEvent(event);
}

} // namespace kestavian
