#pragma once

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;
class QWidget;

namespace kestavian {

class PictureBox;

// The controls of the window, by their names. The window owns them.
struct FormControls {
    PictureBox* GA = nullptr;
    QLabel* lblDistance = nullptr;
    QLabel* lblTime = nullptr;
    QScrollBar* scrTrucks = nullptr;
    QPushButton* cmdOpen = nullptr;
    QPushButton* cmdSave = nullptr;
    QGroupBox* Frame3 = nullptr;
    std::array<QRadioButton*, 2> optDatum{};
    QGroupBox* Frame2 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cmbEvent = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* cmbEffect = nullptr;
    QCheckBox* chkFlip = nullptr;
    QScrollBar* scrSpeed = nullptr;
    QCheckBox* chkAnimate = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 2> optDriveSide{};
    QCheckBox* chkCritPos = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtNoEffects = nullptr;
    QPlainTextEdit* Editor = nullptr;
    QLabel* Label4 = nullptr;
    QPlainTextEdit* txtOut = nullptr;
    QTimer* Timer1 = nullptr;
    // Each frame makes its two options one exclusive group, told apart by index.
    QButtonGroup* optDatumGroup = nullptr;
    QButtonGroup* optDriveSideGroup = nullptr;
};

// The window's caption.
inline constexpr const char* FormCaption = "Event Visualization";

// Makes the window's controls as the form was designed: captions, places and sizes from the twips
// table, the keyboard focus order, and the settings each control starts with. Nothing is wired to
// a handler yet and nothing is drawn.
void setupForm(QWidget& window, FormControls& controls);

} // namespace kestavian
