#include "digital/ListDrop.h"

#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>

namespace {

// What an item view puts on a drag of its lines.
const QString ItemListFormat = QStringLiteral("application/x-qabstractitemmodeldatalist");

}  // namespace

ListDrop::ListDrop(QListWidget& source, QListWidget& target, bool selectUnderPointer)
    : QObject(&target),
      source_(&source),
      target_(&target),
      selectUnderPointer_(selectUnderPointer) {
    source.setDragEnabled(true);
    source.setDragDropMode(QAbstractItemView::DragOnly);
    source.setDefaultDropAction(Qt::CopyAction);
    target.setAcceptDrops(true);
    target.viewport()->setAcceptDrops(true);
    target.viewport()->installEventFilter(this);
}

bool ListDrop::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    // A drag between windows of this program names its source; one that arrives without a
    // source must at least carry lines of an item list.
    const bool fromSource =
        drop->source() == source_.data() || (drop->source() == nullptr && drop->mimeData() &&
                                             drop->mimeData()->hasFormat(ItemListFormat));
    if (!source_ || !target_ || !fromSource || (accepts && !accepts())) {
        drop->ignore();
        return true;
    }
    const int line = target_->indexAt(drop->position().toPoint()).row();
    if (selectUnderPointer_ && line >= 0) target_->setCurrentRow(line);
    // Copy, so that the source list keeps its line.
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop && onDrop) onDrop(source_->currentRow(), line);
    return true;
}
