#include "window/frm_main.h"

#include <QComboBox>

#include "drawing/picture_file.h"
#include "window/picture_box.h"

namespace kestavian {

void frmMain::cmdSave_Click() {
    const QString path =
        pictureFolder_ + "/" +
        pictureFileName(view.Span, cmbEvent->currentIndex() + 1, cmbEffect->currentText());
    const QString reason = SavePicture(GA->surface().Image(), path, "BMP");
    if (!reason.isEmpty())
        dialogs_->messageBox(
            ("The picture could not be saved to " + path + ": " + reason).toStdString(), AppTitle);
}

} // namespace kestavian
