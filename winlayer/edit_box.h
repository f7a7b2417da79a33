// The edit box kind: a single-line box with a sunken edge, black text on white, in which the user
// types, selects, cuts, copies and pastes, and which scrolls sideways when its text is longer than
// the box. It holds texts of any length: a pasted link of ten megabytes stays whole, and the box
// lays out only the part of it that shows, so a caret blink at the end of such a link repaints a
// few hundred characters, not millions. It knows nothing of links; the window reads and replaces
// its whole text.
#pragma once

#include <QBasicTimer>
#include <QClipboard>
#include <QString>
#include <QWidget>
#include <vector>

namespace winlayer {

class EditBox final : public QWidget {
public:
    explicit EditBox(QWidget* parent);

    const QString& text() const { return text_; }
    // Replaces the whole text; the caret goes to the start and nothing is selected.
    void setText(const QString& text);

    qsizetype cursorPosition() const { return cursor_; }
    qsizetype anchorPosition() const { return anchor_; }
    QString selectedText() const;
    void selectAll();
    // Selects from `anchor` to `cursor`, the caret at `cursor`; equal positions select nothing.
    void select(qsizetype anchor, qsizetype cursor);

    // Where the character at `position` shows, in the box's coordinates, and the position
    // nearest to a point: what a screen reader's text interface asks for.
    QRect characterRect(qsizetype position) const;
    qsizetype positionAtPoint(QPoint point) const;

    QSize sizeHint() const override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Editing.
    bool hasSelection() const { return anchor_ != cursor_; }
    qsizetype selectionStart() const { return std::min(anchor_, cursor_); }
    qsizetype selectionEnd() const { return std::max(anchor_, cursor_); }
    void moveCursor(qsizetype to, bool keepAnchor);
    void replaceSelection(const QString& with);
    void undo();
    void redo();
    void removeSelection() { replaceSelection(QString()); }
    void copy(QClipboard::Mode mode) const;
    void cut();
    void paste(QClipboard::Mode mode);
    qsizetype previousCharacter(qsizetype from) const;
    qsizetype nextCharacter(qsizetype from) const;
    qsizetype previousWord(qsizetype from) const;
    qsizetype nextWord(qsizetype from) const;

    // Measuring: the text is measured in blocks of characters, from the start and only as far as
    // needed, so the width up to the caret costs one block once the blocks before it are known.
    qreal xOf(qsizetype position) const;
    qsizetype positionAt(qreal x) const;
    qsizetype blockStart(qsizetype block) const;
    qsizetype blockCount() const;
    void measureBlocksUpTo(qsizetype block) const;
    void forgetWidthsFrom(qsizetype position);

    // Showing.
    QRect textArea() const;
    qreal baseline() const;
    void scrollToCursor();
    void restartBlink();
    void drawRun(QPainter& painter, qsizetype from, qsizetype to, qreal x) const;

    // One change of the text, kept so that Ctrl+Z can take it back: the replaced text and its
    // replacement at `at`, and where the selection was before. Typing a word is one change.
    struct Change {
        qsizetype at;
        QString removed;
        QString inserted;
        qsizetype cursorBefore;
        qsizetype anchorBefore;
    };
    void apply(const Change& change, bool backwards);

    QString text_;
    std::vector<Change> undoStack_;
    std::vector<Change> redoStack_;
    qsizetype cursor_ = 0;
    qsizetype anchor_ = 0;
    qreal scroll_ = 0;  // how far the text is scrolled left, in pixels
    QString preedit_;   // text an input method is composing at the caret, not yet committed
    bool caretShown_ = false;
    bool selectingWithMouse_ = false;
    QBasicTimer blink_;
    mutable std::vector<qreal> blockEnds_;  // x where each measured block ends
};

}  // namespace winlayer
