#include "digital/DigitalFileDialog.h"

#include <QFileDialog>

FileNameAsker standardFileNameAsker() {
    return [](QWidget* parent, const QString& title, const QString& folder, const QString& filter,
              bool save) {
        return save ? QFileDialog::getSaveFileName(parent, title, folder, filter)
                    : QFileDialog::getOpenFileName(parent, title, folder, filter);
    };
}
