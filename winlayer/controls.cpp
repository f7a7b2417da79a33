#include "winlayer/controls.h"

#include "winlayer/edit_box.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <QPushButton>

namespace winlayer {
namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor toQColor(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

// A label's text as a screen reader should say it: "服务条款&用户条款" shows no "&", only an
// underline, and the blanks of "                  Clash转换" only move the word to the middle.
QString spokenText(const QString& text) {
    QString spoken;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) ++i;  // "&&" shows one "&"
        spoken += text[i];
    }
    return spoken.trimmed();
}

// Labels of both kinds: one line, left aligned and vertically centred, or wrapped from the
// top-left corner. An "&" is not drawn but underlines the character after it, and the text is
// clipped to the label, so an 8-pixel separator shows only the middle band of its line.
class TextLabel final : public QWidget {
public:
    TextLabel(const ControlEntry& entry, QWidget* parent)
        : QWidget(parent),
          text_(toQString(entry.text.value_or(defaultText(entry.kind)))),
          colour_(toQColor(entry.textColour.value_or(Rgb{}))),
          opaque_(entry.kind == ControlKind::Label),
          wordWrap_(entry.wordWrap) {
        // A CR LF pair is one line break; on its own a CR would be drawn as a blank.
        if (wordWrap_) text_.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        setAttribute(Qt::WA_OpaquePaintEvent, opaque_);
        static const bool announcedAsText = (QAccessible::installFactory(&accessibility), true);
        (void)announcedAsText;
        setAccessibleName(spokenText(text_));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (opaque_) painter.fillRect(rect(), palette().color(QPalette::Button));
        painter.setPen(colour_);
        const int flags = Qt::AlignLeft | Qt::TextShowMnemonic |
                          (wordWrap_ ? Qt::AlignTop | Qt::TextWordWrap
                                     : Qt::AlignVCenter | Qt::TextSingleLine);
        painter.drawText(rect(), flags, text_);
    }

private:
    // Without this a screen reader would announce a label as an empty pane of the window.
    static QAccessibleInterface* accessibility(const QString&, QObject* object) {
        if (auto* label = dynamic_cast<TextLabel*>(object))
            return new QAccessibleWidget(label, QAccessible::StaticText);
        return nullptr;
    }

    QString text_;
    QColor colour_;
    bool opaque_;
    bool wordWrap_;
};

QWidget* createButton(const ControlEntry& entry, QWidget* parent) {
    auto* button = new QPushButton(toQString(entry.text.value_or(defaultText(entry.kind))), parent);
    // Enter must never click a button: no button is a default button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

}  // namespace

QWidget* createControl(const ControlEntry& entry, QWidget* window) {
    QWidget* control = nullptr;
    switch (entry.kind) {
    case ControlKind::Button: control = createButton(entry, window); break;
    case ControlKind::EditBox: control = new EditBox(window); break;
    case ControlKind::Label:
    case ControlKind::TransLabel: control = new TextLabel(entry, window); break;
    }
    if (!entry.accessibleName.empty()) control->setAccessibleName(toQString(entry.accessibleName));
    control->setObjectName(toQString(entry.name));
    control->setGeometry(entry.place.left, entry.place.top, entry.place.width, entry.place.height);
    control->setFocusPolicy(takesFocus(entry.kind) ? Qt::StrongFocus : Qt::NoFocus);
    control->setEnabled(entry.enabled);
    control->setVisible(entry.visible);
    return control;
}

}  // namespace winlayer
