#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QListWidget;

// Dragging a line of one list onto another of the same dialog (a library macro onto the running
// list, a free output line onto a pin, a macro element onto a net). The target accepts a drag
// from its source while `accepts` allows it, can select the line under the pointer while the
// drag passes over it, and reports the drop; the source keeps its line.
class ListDrop : public QObject {
public:
    ListDrop(QListWidget& source, QListWidget& target, bool selectUnderPointer);

    // Optional: false refuses the drag.
    std::function<bool()> accepts;
    // The source's current line and the target's line under the pointer (-1 below the last).
    std::function<void(int sourceLine, int targetLine)> onDrop;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QListWidget> source_;
    QPointer<QListWidget> target_;
    bool selectUnderPointer_;
};
