#include "window/frm_main_form.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <utility>
#include <vector>

#include "drawing/picture_size.h"
#include "window/controls.h"
#include "window/picture_box.h"

namespace kestavian {

namespace {

// Positions and sizes are in twips, 15 to a pixel at 96 dots per inch.
constexpr int twipsToPixels(int twips) {
    return (twips + 7) / 15;
}
constexpr int WindowWidthTwips = 10125, WindowHeightTwips = 9300;
constexpr std::array<int, 5> GAPlacement{240, 240, 9615, 2500, 1};
// The headless tool draws at the shared picture size; it must be this picture's.
static_assert(twipsToPixels(GAPlacement[2]) == PictureWidthPixels &&
              twipsToPixels(GAPlacement[3]) == PictureHeightPixels);

// Makes controls at their places and keeps their places in the keyboard focus order.
class FormBuilder {
public:
    // A control inside parent at {left, top, width, height} in twips; the fifth number is its
    // place in the keyboard focus order (0 first).
    template <typename Widget, typename... Arguments>
    Widget* place(QWidget* parent, const char* name, std::array<int, 5> twipsAndTab,
                  Arguments&&... arguments) {
        auto* widget = new Widget(std::forward<Arguments>(arguments)..., parent);
        widget->setObjectName(name);
        const auto [left, top, width, height, tab] = twipsAndTab;
        widget->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                            twipsToPixels(height));
        tabOrder_.emplace_back(tab, widget);
        return widget;
    }

    QLabel* label(QWidget* parent, const char* name, std::array<int, 5> at, const char* caption) {
        auto* widget = place<QLabel>(parent, name, at, caption);
        widget->setTextFormat(Qt::PlainText);
        widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return widget;
    }

    // Chains the controls that take the focus in their order.
    void setTabOrder() {
        std::stable_sort(tabOrder_.begin(), tabOrder_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        QWidget* previous = nullptr;
        for (const auto& [tab, widget] : tabOrder_) {
            if (widget->focusPolicy() == Qt::NoFocus)
                continue;
            if (previous != nullptr)
                QWidget::setTabOrder(previous, widget);
            previous = widget;
        }
    }

private:
    std::vector<std::pair<int, QWidget*>> tabOrder_;
};

// The controls, their captions and places; containers before what they hold. Nothing moves them
// later: the window has no layout.
void createControls(QWidget* window, FormControls& c, FormBuilder& form) {
    using Bar = ScrollBar;
    c.GA = form.place<PictureBox>(window, "GA", GAPlacement,
                                  QSize(PictureWidthPixels, PictureHeightPixels));
    c.lblDistance = form.label(c.GA, "lblDistance", {4920, 2160, 2055, 255, 16}, "0");
    c.lblTime = form.label(c.GA, "lblTime", {7440, 2160, 2055, 255, 15}, "0");
    c.scrTrucks = form.place<Bar>(window, "scrTrucks", {240, 2880, 9615, 255, 12}, Qt::Horizontal);
    c.cmdOpen = form.place<CommandButton>(window, "cmdOpen", {7080, 3360, 1215, 375, 2}, "Open");
    c.cmdSave =
        form.place<CommandButton>(window, "cmdSave", {8520, 3360, 1215, 375, 3}, "Save Picture");
    c.Frame3 = form.place<QGroupBox>(window, "Frame3", {240, 3360, 3015, 735, 20}, "Datum Type");
    c.optDatum[0] =
        form.place<QRadioButton>(c.Frame3, "optDatum(0)", {240, 240, 735, 375, 22}, "RHS");
    c.optDatum[1] =
        form.place<QRadioButton>(c.Frame3, "optDatum(1)", {960, 240, 735, 375, 21}, "Mixed");
    c.Frame2 = form.place<QGroupBox>(window, "Frame2", {3600, 3360, 2775, 1575, 7}, "Event data");
    c.Label2 = form.label(c.Frame2, "Label2", {120, 480, 1575, 375, 11}, "Draw Event No:");
    c.cmbEvent = form.place<QComboBox>(c.Frame2, "cmbEvent", {1440, 420, 1215, 315, 10});
    c.Label3 = form.label(c.Frame2, "Label3", {120, 1080, 1575, 375, 9}, "Draw Effect No:");
    c.cmbEffect = form.place<QComboBox>(c.Frame2, "cmbEffect", {1440, 1020, 1215, 315, 8});
    c.chkFlip = form.place<QCheckBox>(window, "chkFlip", {2040, 3600, 1095, 375, 25}, "Flip datum");
    c.scrSpeed = form.place<Bar>(window, "scrSpeed", {7080, 3960, 1335, 255, 13}, Qt::Horizontal);
    c.chkAnimate =
        form.place<QCheckBox>(window, "chkAnimate", {8640, 3960, 1095, 255, 14}, "Animate");
    c.Frame1 = form.place<QGroupBox>(window, "Frame1", {240, 4200, 3015, 735, 4}, "Drive side");
    c.optDriveSide[0] =
        form.place<QRadioButton>(c.Frame1, "optDriveSide(0)", {240, 240, 735, 375, 6}, "Left");
    c.optDriveSide[1] =
        form.place<QRadioButton>(c.Frame1, "optDriveSide(1)", {1680, 240, 735, 375, 5}, "Right");
    c.chkCritPos = form.place<QCheckBox>(window, "chkCritPos", {7080, 4440, 2775, 255, 17},
                                         "Approx Critical Position");
    c.Label1 = form.label(window, "Label1", {7080, 4920, 1695, 255, 18}, "No. of load effects:");
    c.txtNoEffects = form.place<QLineEdit>(window, "txtNoEffects", {9240, 4920, 615, 285, 19}, "3");
    c.Editor = form.place<QPlainTextEdit>(window, "Editor", {240, 5160, 6615, 3975, 0});
    c.Label4 = form.label(window, "Label4", {7080, 5400, 1455, 375, 24}, "Diagnostics:");
    c.txtOut = form.place<QPlainTextEdit>(window, "txtOut", {7080, 5640, 2775, 3495, 23});
    c.Timer1 = new QTimer(window);
    c.Timer1->setObjectName("Timer1");
    // The open dialog (CD) is made each time it is needed, by the dialogs object.

    // The flip box sits on the datum frame's row; it must be drawn in front of the frame.
    c.chkFlip->raise();
}

void applyStartupSettings(FormControls& c) {
    for (QLabel* label : {c.lblDistance, c.lblTime}) {
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, Qt::white);
        label->setPalette(palette);
    }
    for (QScrollBar* bar : {c.scrTrucks, c.scrSpeed})
        bar->setFocusPolicy(Qt::StrongFocus);
    c.scrTrucks->setMaximum(1000);
    c.scrTrucks->setPageStep(50);
    c.scrTrucks->setSingleStep(1);
    c.scrTrucks->setValue(0);
    for (QPlainTextEdit* box : {c.Editor, c.txtOut}) {
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        // Breaking at word boundaries where possible costs time quadratic in the length of a
        // line without any, and a damaged file may be one line of megabytes. The event lines too
        // wide for the box are runs of digits, which break anywhere in either mode.
        box->setWordWrapMode(QTextOption::WrapAnywhere);
    }
    // The user may type in the file's box (nothing reads it); the diagnostics box is the log.
    c.txtOut->setReadOnly(true);
    // A file dropped on a text box opens like one dropped anywhere else on the window.
    for (QWidget* box : std::initializer_list<QWidget*>{c.Editor, c.txtOut, c.txtNoEffects})
        box->setAcceptDrops(false);
    c.Timer1->setInterval(500);
    c.chkAnimate->setChecked(true);
    c.chkCritPos->setChecked(false);
    c.chkCritPos->setEnabled(false);
    c.chkFlip->setChecked(false);
    c.optDatum[0]->setChecked(true);
    c.optDriveSide[1]->setChecked(true);

    // Each frame makes its two options one exclusive group, told apart by index.
    c.optDatumGroup = new QButtonGroup(c.Frame3);
    c.optDriveSideGroup = new QButtonGroup(c.Frame1);
    for (int index : {0, 1}) {
        c.optDatumGroup->addButton(c.optDatum[index], index);
        c.optDriveSideGroup->addButton(c.optDriveSide[index], index);
    }
}

} // namespace

void setupForm(QWidget& window, FormControls& controls) {
    window.setWindowTitle(FormCaption);
    // The controls have fixed sizes, so the captions need a compact face to fit them.
    QFont uiFont = window.font();
    uiFont.setPointSizeF(8);
    uiFont.setStretch(QFont::SemiCondensed);
    window.setFont(uiFont);
    window.resize(twipsToPixels(WindowWidthTwips), twipsToPixels(WindowHeightTwips));
    FormBuilder form;
    createControls(&window, controls, form);
    // The settings first: they decide which controls take the focus (the scroll bars do).
    applyStartupSettings(controls);
    form.setTabOrder();
}

} // namespace kestavian
