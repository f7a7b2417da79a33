#include "winlayer/edit_box.h"

#include <algorithm>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QTextLayout>

namespace winlayer {
namespace {

// Characters measured and drawn together. Small enough that shaping one block costs next to
// nothing, large enough that a 10 MB link has only some twenty thousand of them.
constexpr qsizetype blockSize = 512;

// How much text around the caret an input method is told about.
constexpr qsizetype surroundingText = 256;

// Space between the sunken edge and the text.
constexpr int horizontalMargin = 2;
constexpr int verticalMargin = 1;

bool isWordCharacter(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// Ctrl or Alt alone makes a key a command; both together are AltGr on many keyboards, which
// types characters such as "@" or "€".
bool isCommandChord(Qt::KeyboardModifiers modifiers) {
    const bool control = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    return (control != alt) || (modifiers & Qt::MetaModifier);
}

// A screen reader announces the box as editable text and can read what it holds.
// A screen reader announces the box as editable text, reads what it holds and follows the caret
// and the selection through the text interface.
class AccessibleEditBox final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleEditBox(EditBox* box)
        : QAccessibleWidget(box, QAccessible::EditableText), box_(box) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return box_->text();
        return QAccessibleWidget::text(kind);
    }

    void selection(int index, int* startOffset, int* endOffset) const override {
        const bool any = index == 0 && box_->anchorPosition() != box_->cursorPosition();
        *startOffset = any ? int(std::min(box_->anchorPosition(), box_->cursorPosition())) : 0;
        *endOffset = any ? int(std::max(box_->anchorPosition(), box_->cursorPosition())) : 0;
    }
    int selectionCount() const override {
        return box_->anchorPosition() != box_->cursorPosition() ? 1 : 0;
    }
    void addSelection(int startOffset, int endOffset) override {
        box_->select(startOffset, endOffset);
    }
    void removeSelection(int) override { box_->select(box_->cursorPosition(), box_->cursorPosition()); }
    void setSelection(int, int startOffset, int endOffset) override {
        box_->select(startOffset, endOffset);
    }
    int cursorPosition() const override { return int(box_->cursorPosition()); }
    void setCursorPosition(int position) override { box_->select(position, position); }
    QString text(int startOffset, int endOffset) const override {
        return box_->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(box_->text().size()); }
    QRect characterRect(int offset) const override {
        const QRect rect = box_->characterRect(offset);
        return QRect(box_->mapToGlobal(rect.topLeft()), rect.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        return int(box_->positionAtPoint(box_->mapFromGlobal(point)));
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        box_->select(startIndex, endIndex);
    }
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = offset;
        return {};
    }

private:
    EditBox* box_;
};

// Tells a screen reader, when one listens, what changed; nothing is built when none does.
template <class Event, class... Arguments>
void announce(EditBox* box, const Arguments&... arguments) {
    if (!QAccessible::isActive()) return;
    Event event(box, arguments...);
    QAccessible::updateAccessibility(&event);
}

QAccessibleInterface* accessibleEditBox(const QString&, QObject* object) {
    auto* box = dynamic_cast<EditBox*>(object);
    return box ? new AccessibleEditBox(box) : nullptr;
}

}  // namespace

EditBox::EditBox(QWidget* parent) : QWidget(parent) {
    static const bool accessible = (QAccessible::installFactory(accessibleEditBox), true);
    Q_UNUSED(accessible);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::IBeamCursor);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
}

void EditBox::setText(const QString& text) {
    announce<QAccessibleValueChangeEvent>(this, text);
    text_ = text;
    undoStack_.clear();
    redoStack_.clear();
    blockEnds_.clear();
    preedit_.clear();
    cursor_ = anchor_ = 0;
    scroll_ = 0;
    update();
}

QString EditBox::selectedText() const {
    return text_.mid(selectionStart(), selectionEnd() - selectionStart());
}

void EditBox::selectAll() { select(0, text_.size()); }

void EditBox::select(qsizetype anchor, qsizetype cursor) {
    anchor_ = std::clamp<qsizetype>(anchor, 0, text_.size());
    moveCursor(cursor, true);
}

QRect EditBox::characterRect(qsizetype position) const {
    const QRect area = textArea();
    const qsizetype at = std::clamp<qsizetype>(position, 0, text_.size());
    const qreal left = area.left() - scroll_ + xOf(at);
    const qreal right = area.left() - scroll_ + xOf(nextCharacter(at));
    return QRectF(left, area.top(), std::max<qreal>(1, right - left), area.height()).toAlignedRect();
}

qsizetype EditBox::positionAtPoint(QPoint point) const {
    return positionAt(scroll_ + point.x() - textArea().left());
}



QSize EditBox::sizeHint() const {
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    return {120, fontMetrics().height() + 2 * (frame + verticalMargin)};
}

// Editing

void EditBox::moveCursor(qsizetype to, bool keepAnchor) {
    cursor_ = std::clamp<qsizetype>(to, 0, text_.size());
    if (!keepAnchor) anchor_ = cursor_;
    scrollToCursor();
    restartBlink();
    update();
    if (anchor_ != cursor_) {
        announce<QAccessibleTextSelectionEvent>(this, int(selectionStart()), int(selectionEnd()));
    }
    announce<QAccessibleTextCursorEvent>(this, int(cursor_));
}

void EditBox::replaceSelection(const QString& with) {
    const qsizetype start = selectionStart();
    const qsizetype removed = selectionEnd() - start;
    if (removed == 0 && with.isEmpty()) return;
    Change* last = undoStack_.empty() ? nullptr : &undoStack_.back();
    // A word and the blanks after it come back together; the next word is a change of its own.
    const bool continuesTyping = last && removed == 0 && last->removed.isEmpty() &&
                                 !last->inserted.isEmpty() &&
                                 start == last->at + last->inserted.size() && with.size() == 1 &&
                                 !(last->inserted.back().isSpace() && !with.at(0).isSpace());
    if (continuesTyping) {
        last->inserted += with;
    } else {
        undoStack_.push_back({start, text_.mid(start, removed), with, cursor_, anchor_});
    }
    redoStack_.clear();
    const QString removedText = QAccessible::isActive() ? text_.mid(start, removed) : QString();
    text_.replace(start, removed, with);
    forgetWidthsFrom(start);
    announce<QAccessibleTextUpdateEvent>(this, int(start), removedText, with);
    anchor_ = start + with.size();
    moveCursor(anchor_, false);
}

void EditBox::apply(const Change& change, bool backwards) {
    const QString& from = backwards ? change.inserted : change.removed;
    const QString& to = backwards ? change.removed : change.inserted;
    text_.replace(change.at, from.size(), to);
    forgetWidthsFrom(change.at);
    if (backwards) {
        anchor_ = change.anchorBefore;
        moveCursor(change.cursorBefore, true);
    } else {
        anchor_ = change.at + to.size();
        moveCursor(anchor_, false);
    }
}

void EditBox::undo() {
    if (undoStack_.empty()) return;
    redoStack_.push_back(std::move(undoStack_.back()));
    undoStack_.pop_back();
    apply(redoStack_.back(), true);
}

void EditBox::redo() {
    if (redoStack_.empty()) return;
    undoStack_.push_back(std::move(redoStack_.back()));
    redoStack_.pop_back();
    apply(undoStack_.back(), false);
}

void EditBox::copy(QClipboard::Mode mode) const {
    if (!hasSelection()) return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (mode == QClipboard::Selection && !clipboard->supportsSelection()) return;
    clipboard->setText(selectedText(), mode);
}

void EditBox::cut() {
    copy(QClipboard::Clipboard);
    removeSelection();
}

void EditBox::paste(QClipboard::Mode mode) {
    QString pasted = QGuiApplication::clipboard()->text(mode);
    // Texts end at a zero byte on their way to a link, so a pasted "abc\0def" would show "def"
    // in the box and leave it out of the link; the paste ends where the text would.
    if (const qsizetype zero = pasted.indexOf(QChar(0)); zero >= 0) pasted.truncate(zero);
    if (!pasted.isEmpty() || hasSelection()) replaceSelection(pasted);
}

qsizetype EditBox::previousCharacter(qsizetype from) const {
    if (from <= 0) return 0;
    return from - (from >= 2 && text_[from - 1].isLowSurrogate() &&
                           text_[from - 2].isHighSurrogate()
                       ? 2
                       : 1);
}

qsizetype EditBox::nextCharacter(qsizetype from) const {
    if (from >= text_.size()) return text_.size();
    return from + (from + 1 < text_.size() && text_[from].isHighSurrogate() &&
                           text_[from + 1].isLowSurrogate()
                       ? 2
                       : 1);
}

qsizetype EditBox::previousWord(qsizetype from) const {
    while (from > 0 && !isWordCharacter(text_[from - 1])) --from;
    while (from > 0 && isWordCharacter(text_[from - 1])) --from;
    return from;
}

qsizetype EditBox::nextWord(qsizetype from) const {
    while (from < text_.size() && isWordCharacter(text_[from])) ++from;
    while (from < text_.size() && !isWordCharacter(text_[from])) ++from;
    return from;
}

// Measuring

qsizetype EditBox::blockStart(qsizetype block) const {
    qsizetype start = std::min(block * blockSize, text_.size());
    // A block never starts between the two halves of a character outside the basic plane.
    if (start > 0 && start < text_.size() && text_[start].isLowSurrogate()) ++start;
    return start;
}

qsizetype EditBox::blockCount() const { return (text_.size() + blockSize - 1) / blockSize; }

void EditBox::measureBlocksUpTo(qsizetype block) const {
    const qsizetype wanted = std::min(block, blockCount());
    if (qsizetype(blockEnds_.size()) >= wanted) return;
    const QFontMetricsF metrics(font());
    for (qsizetype b = qsizetype(blockEnds_.size()); b < wanted; ++b) {
        const qsizetype start = blockStart(b);
        const qreal before = b == 0 ? 0 : blockEnds_[std::size_t(b - 1)];
        blockEnds_.push_back(before + metrics.horizontalAdvance(
                                          QStringView(text_).mid(start, blockStart(b + 1) - start)
                                              .toString()));
    }
}

void EditBox::forgetWidthsFrom(qsizetype position) {
    // The block before the one holding `position` may end at its first character.
    const qsizetype keep = std::max<qsizetype>(0, position / blockSize - 1);
    if (qsizetype(blockEnds_.size()) > keep) blockEnds_.resize(std::size_t(keep));
}

qreal EditBox::xOf(qsizetype position) const {
    qsizetype block = position / blockSize;
    if (block > 0 && position < blockStart(block)) --block;
    measureBlocksUpTo(block);
    const qreal blockX = block == 0 ? 0 : blockEnds_[std::size_t(block - 1)];
    const qsizetype start = blockStart(block);
    if (position == start) return blockX;
    return blockX + QFontMetricsF(font()).horizontalAdvance(
                        QStringView(text_).mid(start, position - start).toString());
}

qsizetype EditBox::positionAt(qreal x) const {
    if (x <= 0 || text_.isEmpty()) return 0;
    // Measure only as far as `x`: a click near the start of a long text measures one block.
    while (qsizetype(blockEnds_.size()) < blockCount() &&
           (blockEnds_.empty() || blockEnds_.back() <= x)) {
        measureBlocksUpTo(qsizetype(blockEnds_.size()) + 1);
    }
    const auto end = std::upper_bound(blockEnds_.begin(), blockEnds_.end(), x);
    if (end == blockEnds_.end()) return text_.size();
    const qsizetype block = end - blockEnds_.begin();
    const qreal blockX = block == 0 ? 0 : blockEnds_[std::size_t(block - 1)];
    const qsizetype start = blockStart(block);

    QTextLayout layout(text_.mid(start, blockStart(block + 1) - start), font());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    return start + line.xToCursor(x - blockX);
}

// Showing

QRect EditBox::textArea() const {
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    return rect().adjusted(frame + horizontalMargin, frame + verticalMargin,
                           -(frame + horizontalMargin), -(frame + verticalMargin));
}

qreal EditBox::baseline() const {
    const QRect area = textArea();
    const QFontMetricsF metrics(font());
    return area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
}

void EditBox::scrollToCursor() {
    const qreal width = textArea().width();
    const qreal x = xOf(cursor_);
    if (cursor_ == text_.size()) {
        scroll_ = std::max<qreal>(0, x - width + 1);  // show as much as fits before the end
    } else if (x < scroll_) {
        scroll_ = x;
    } else if (x > scroll_ + width - 1) {
        scroll_ = x - width + 1;
    }
}

void EditBox::restartBlink() {
    caretShown_ = hasFocus();
    const int flash = QApplication::cursorFlashTime();
    if (hasFocus() && flash > 0) {
        blink_.start(flash / 2, this);
    } else {
        blink_.stop();
    }
}

void EditBox::drawRun(QPainter& painter, qsizetype from, qsizetype to, qreal x) const {
    painter.drawText(QPointF(x, baseline()), text_.mid(from, to - from));
}

void EditBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.rect = rect();
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, this);
    frame.midLineWidth = 0;
    frame.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, this);

    const QRect area = textArea();
    const QRect dirty = area & event->rect();
    if (dirty.isEmpty()) return;
    painter.setClipRect(dirty);

    // Only the blocks that reach into the dirty part are drawn.
    const qreal left = scroll_ + dirty.left() - area.left();
    const qreal right = scroll_ + dirty.right() + 1 - area.left();
    const qsizetype first = positionAt(left);
    qsizetype firstBlock = first / blockSize;
    if (firstBlock > 0 && first < blockStart(firstBlock)) --firstBlock;
    const qsizetype lastBlock = std::max(firstBlock, positionAt(right) / blockSize);
    const qsizetype visibleFrom = blockStart(firstBlock);
    const qsizetype visibleTo = blockStart(lastBlock + 1);
    const qreal originX = area.left() - scroll_;

    painter.setPen(palette().color(QPalette::Text));
    for (qsizetype b = firstBlock; b <= lastBlock && blockStart(b) < text_.size(); ++b) {
        drawRun(painter, blockStart(b), blockStart(b + 1), originX + xOf(blockStart(b)));
    }

    // The selection shows only while the box has the focus.
    if (hasFocus() && hasSelection() && selectionEnd() > visibleFrom &&
        selectionStart() < visibleTo) {
        const qreal x0 = selectionStart() <= visibleFrom ? area.left()
                                                         : originX + xOf(selectionStart());
        const qreal x1 = selectionEnd() >= visibleTo ? area.right() + 1
                                                     : originX + xOf(selectionEnd());
        const QRectF selected(x0, area.top(), x1 - x0, area.height());
        painter.setClipRect(selected.toAlignedRect() & dirty);
        painter.fillRect(selected, palette().color(QPalette::Highlight));
        painter.setPen(palette().color(QPalette::HighlightedText));
        for (qsizetype b = firstBlock; b <= lastBlock && blockStart(b) < text_.size(); ++b) {
            drawRun(painter, blockStart(b), blockStart(b + 1), originX + xOf(blockStart(b)));
        }
        painter.setClipRect(dirty);
    }

    const qreal caretX = originX + xOf(cursor_);
    if (!preedit_.isEmpty()) {
        // What an input method is composing shows underlined at the caret, over the text after it.
        const qreal width = QFontMetricsF(font()).horizontalAdvance(preedit_);
        painter.fillRect(QRectF(caretX, area.top(), width, area.height()),
                         palette().color(QPalette::Base));
        QFont underlined = font();
        underlined.setUnderline(true);
        painter.setFont(underlined);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QPointF(caretX, baseline()), preedit_);
    }
    if (caretShown_ && preedit_.isEmpty()) {
        painter.fillRect(QRectF(caretX, area.top(), 1, area.height()),
                         palette().color(QPalette::Text));
    }
}

void EditBox::timerEvent(QTimerEvent* event) {
    if (event->timerId() != blink_.timerId()) return QWidget::timerEvent(event);
    caretShown_ = !caretShown_;
    // Only the caret's column is repainted, so a blink costs one block however long the text.
    const QRect area = textArea();
    const int x = int(area.left() - scroll_ + xOf(cursor_));
    update(QRect(x - 1, area.top(), 3, area.height()));
}

void EditBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        blockEnds_.clear();
        update();
    }
    QWidget::changeEvent(event);
}

// Input

void EditBox::keyPressEvent(QKeyEvent* event) {
    const qsizetype start = selectionStart();
    const qsizetype end = selectionEnd();
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        copy(QClipboard::Selection);
    } else if (event->matches(QKeySequence::Copy)) {
        copy(QClipboard::Clipboard);
    } else if (event->matches(QKeySequence::Cut)) {
        cut();
    } else if (event->matches(QKeySequence::Paste)) {
        paste(QClipboard::Clipboard);
    } else if (event->matches(QKeySequence::Undo)) {
        undo();
    } else if (event->matches(QKeySequence::Redo)) {
        redo();
    } else if (event->matches(QKeySequence::MoveToPreviousChar)) {
        moveCursor(hasSelection() ? start : previousCharacter(cursor_), false);
    } else if (event->matches(QKeySequence::MoveToNextChar)) {
        moveCursor(hasSelection() ? end : nextCharacter(cursor_), false);
    } else if (event->matches(QKeySequence::SelectPreviousChar)) {
        moveCursor(previousCharacter(cursor_), true);
    } else if (event->matches(QKeySequence::SelectNextChar)) {
        moveCursor(nextCharacter(cursor_), true);
    } else if (event->matches(QKeySequence::MoveToPreviousWord)) {
        moveCursor(previousWord(cursor_), false);
    } else if (event->matches(QKeySequence::MoveToNextWord)) {
        moveCursor(nextWord(cursor_), false);
    } else if (event->matches(QKeySequence::SelectPreviousWord)) {
        moveCursor(previousWord(cursor_), true);
    } else if (event->matches(QKeySequence::SelectNextWord)) {
        moveCursor(nextWord(cursor_), true);
    } else if (event->matches(QKeySequence::MoveToStartOfLine) ||
               event->matches(QKeySequence::MoveToStartOfBlock)) {
        moveCursor(0, false);
    } else if (event->matches(QKeySequence::MoveToEndOfLine) ||
               event->matches(QKeySequence::MoveToEndOfBlock)) {
        moveCursor(text_.size(), false);
    } else if (event->matches(QKeySequence::SelectStartOfLine) ||
               event->matches(QKeySequence::SelectStartOfBlock)) {
        moveCursor(0, true);
    } else if (event->matches(QKeySequence::SelectEndOfLine) ||
               event->matches(QKeySequence::SelectEndOfBlock)) {
        moveCursor(text_.size(), true);
    } else if (event->matches(QKeySequence::DeleteStartOfWord)) {
        if (!hasSelection()) anchor_ = previousWord(cursor_);
        removeSelection();
    } else if (event->matches(QKeySequence::DeleteEndOfWord)) {
        if (!hasSelection()) anchor_ = nextWord(cursor_);
        removeSelection();
    } else if (event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier)) {
        if (!hasSelection()) anchor_ = previousCharacter(cursor_);
        removeSelection();
    } else if (event->matches(QKeySequence::Delete)) {
        if (!hasSelection()) anchor_ = nextCharacter(cursor_);
        removeSelection();
    } else if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::ShiftModifier) {
        paste(QClipboard::Clipboard);
    } else if (const QString typed = event->text(); !typed.isEmpty() && typed.at(0).isPrint() &&
                                                     !isCommandChord(event->modifiers())) {
        replaceSelection(typed);
    } else {
        // Enter, Esc and Tab are the window's: the box does nothing with them.
        event->ignore();
    }
}

void EditBox::mousePressEvent(QMouseEvent* event) {
    const qsizetype at = positionAt(scroll_ + event->position().x() - textArea().left());
    if (event->button() == Qt::LeftButton) {
        selectingWithMouse_ = true;
        moveCursor(at, event->modifiers() & Qt::ShiftModifier);
    } else if (event->button() == Qt::MiddleButton) {
        moveCursor(at, false);
        paste(QClipboard::Selection);
    } else {
        event->ignore();
    }
}

void EditBox::mouseMoveEvent(QMouseEvent* event) {
    if (!selectingWithMouse_) return;
    moveCursor(positionAt(scroll_ + event->position().x() - textArea().left()), true);
}

void EditBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !selectingWithMouse_) return;
    selectingWithMouse_ = false;
    copy(QClipboard::Selection);
}

void EditBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const qsizetype at = positionAt(scroll_ + event->position().x() - textArea().left());
    qsizetype from = at;
    qsizetype to = at;
    while (from > 0 && isWordCharacter(text_[from - 1])) --from;
    while (to < text_.size() && isWordCharacter(text_[to])) ++to;
    if (from == to) to = nextCharacter(to);
    anchor_ = from;
    moveCursor(to, true);
    copy(QClipboard::Selection);
}

void EditBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const bool selected = hasSelection();
    menu.addAction(QStringLiteral("撤销(&U)"), this, [this] { undo(); })
        ->setEnabled(!undoStack_.empty());
    menu.addSeparator();
    menu.addAction(QStringLiteral("剪切(&T)"), this, [this] { cut(); })->setEnabled(selected);
    menu.addAction(QStringLiteral("复制(&C)"), this, [this] { copy(QClipboard::Clipboard); })
        ->setEnabled(selected);
    menu.addAction(QStringLiteral("粘贴(&P)"), this, [this] { paste(QClipboard::Clipboard); })
        ->setEnabled(!QGuiApplication::clipboard()->text().isEmpty());
    menu.addAction(QStringLiteral("删除(&D)"), this, [this] { removeSelection(); })
        ->setEnabled(selected);
    menu.addSeparator();
    menu.addAction(QStringLiteral("全选(&A)"), this, [this] { selectAll(); })
        ->setEnabled(!text_.isEmpty());
    menu.exec(event->globalPos());
}

void EditBox::inputMethodEvent(QInputMethodEvent* event) {
    if (event->replacementLength() > 0) {
        anchor_ = std::clamp<qsizetype>(cursor_ + event->replacementStart(), 0, text_.size());
        cursor_ = std::clamp<qsizetype>(anchor_ + event->replacementLength(), 0, text_.size());
    }
    if (!event->commitString().isEmpty() || event->replacementLength() > 0) {
        replaceSelection(event->commitString());
    }
    preedit_ = event->preeditString();
    update();
}

QVariant EditBox::inputMethodQuery(Qt::InputMethodQuery query) const {
    // An input method sees the text around the caret, not all of a megabyte link.
    const qsizetype windowStart = std::max<qsizetype>(0, cursor_ - surroundingText);
    switch (query) {
    case Qt::ImEnabled: return true;
    case Qt::ImCursorRectangle: {
        const QRect area = textArea();
        return QRect(int(area.left() - scroll_ + xOf(cursor_)), area.top(), 1, area.height());
    }
    case Qt::ImFont: return font();
    case Qt::ImCursorPosition: return cursor_ - windowStart;
    case Qt::ImAnchorPosition:
        return std::clamp<qsizetype>(anchor_, windowStart, cursor_ + surroundingText) - windowStart;
    case Qt::ImSurroundingText: return text_.mid(windowStart, 2 * surroundingText);
    case Qt::ImCurrentSelection:
        return hasSelection() && selectionEnd() - selectionStart() <= surroundingText
                   ? selectedText()
                   : QString();
    case Qt::ImHints: return int(Qt::ImhNone);
    default: return QWidget::inputMethodQuery(query);
    }
}

void EditBox::focusInEvent(QFocusEvent* event) {
    // Tabbing into a box selects its text, so that typing replaces it and Ctrl+C copies it.
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
        selectAll();
    }
    restartBlink();
    update();
    QWidget::focusInEvent(event);
}

void EditBox::focusOutEvent(QFocusEvent* event) {
    selectingWithMouse_ = false;
    restartBlink();
    update();
    QWidget::focusOutEvent(event);
}

}  // namespace winlayer
