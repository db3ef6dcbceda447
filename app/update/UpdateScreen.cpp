#include "update/UpdateScreen.h"

#include <QHeaderView>
#include <QLayout>

#include "core/UnitFormat.h"
#include "core/UserMessages.h"
#include "shell/DialogFlags.h"
#include "shell/WindowPlacement.h"
#include "ui_UpdateScreen.h"

namespace {

const char* const AgeTexts[] = {"Old", "Same", "New"};

QString versionString(const TUpdate& update) {
    return QString::fromStdString(versionText(update));
}

}  // namespace

TUpdateForm::TUpdateForm(const std::vector<TUpdate>& updates,
                         const std::array<std::uint16_t, 4>& programVersion, UserMessages& messages,
                         QWidget* parent)
    : QDialog(parent, kFixedDialogWithMinimiseFlags),
      ui(std::make_unique<Ui::TUpdateForm>()),
      messages_(messages) {
    ui->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    ui->CurrVerLabel->setText(QString::fromStdString(
        versionText(programVersion[0], programVersion[1], programVersion[2], programVersion[3])));

    QTableWidget& grid = *ui->AvailUpdates;
    grid.setColumnWidth(1, 340);
    grid.setColumnWidth(2, 100);
    grid.setColumnWidth(3, 100);
    grid.setRowCount(static_cast<int>(updates.size()));
    for (int row = 0; row < grid.rowCount(); ++row) {
        const TUpdate& update = updates[static_cast<std::size_t>(row)];
        const QStringList cells{
            AgeTexts[static_cast<int>(updateAge(update, programVersion))],
            QString::fromLatin1(update.url),
            versionString(update),
            QString::fromLatin1(update.fileName),
        };
        for (int column = 0; column < cells.size(); ++column)
            grid.setItem(row, column, new QTableWidgetItem(cells[column]));
    }

    const std::optional<std::size_t> newest = newestUpdate(updates);
    if (newest && updateAge(updates[*newest], programVersion) == UpdateAge::New) {
        setWholeRowSelection(true);
        grid.selectRow(static_cast<int>(*newest));
        ui->StatusLabel->setText(QStringLiteral("New version exists"));
    } else {
        setWholeRowSelection(false);
        ui->StatusLabel->setText(QStringLiteral("You have latest version"));
    }

    connect(&grid, &QTableWidget::pressed, this, [this](const QModelIndex& index) {
        if (wholeRowSelection_) return;
        setWholeRowSelection(true);
        ui->AvailUpdates->selectRow(index.row());
    });
    connect(ui->DownloadBtn, &QPushButton::clicked, this, &TUpdateForm::downloadClicked);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    ui->DownloadBtn->setFocus();
    centerOnScreen(*this);
}

TUpdateForm::~TUpdateForm() = default;

int TUpdateForm::selectedRow() const {
    if (!wholeRowSelection_) return -1;
    const QModelIndexList rows = ui->AvailUpdates->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

// Without whole-row selection no row shows as chosen.
void TUpdateForm::setWholeRowSelection(bool on) {
    wholeRowSelection_ = on;
    QTableWidget& grid = *ui->AvailUpdates;
    grid.setSelectionMode(on ? QAbstractItemView::SingleSelection : QAbstractItemView::NoSelection);
    if (!on) grid.clearSelection();
}

void TUpdateForm::downloadClicked() {
    if (selectedRow() < 0) {
        messages_.error("Zvolte si update");
        return;
    }
    accept();
}
