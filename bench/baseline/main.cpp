// A bare Qt 6 Widgets window with the controls of frontlite's window (4 edit boxes, 2 buttons,
// 4 labels) at about the same places, and nothing else: no window layer, no pictures, no fixed
// font. scripts/bench times its start-up and memory as the floor the two programs are held to.
// Esc closes it, as it closes the programs, so that the same key ends every measured run.
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QShortcut>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("baseline window"));
    // frontlite asks for 325 x 530 outside; inside openbox's frame that leaves this much.
    window.setFixedSize(323, 509);

    const auto place = [](QWidget* control, int left, int top, int width, int height) {
        control->setGeometry(left, top, width, height);
    };
    // Chinese text of about the same length as frontlite's terms, so the fallback font is loaded
    // here too: on a desktop without it, start-up is that much shorter.
    auto* terms = new QLabel(QStringLiteral(
        "使用说明\n1.把订阅链接粘贴到上面的框里\n2.按下转换按钮\n3.从下面的框里复制转换后的链接\n"
        "4.这个窗口只用来比较启动时间和内存\n5.它不组成任何链接，也不联网\n"
        "6.关闭窗口后框里的内容就没了"), &window);
    terms->setWordWrap(true);
    terms->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette red = terms->palette();  // not a style sheet: that would load a style of its own
    red.setColor(QPalette::WindowText, Qt::red);
    terms->setPalette(red);
    place(terms, 8, 328, 304, 168);
    place(new QLabel(QStringLiteral("Clash"), &window), 136, 8, 32, 16);
    place(new QLabel(QStringLiteral("- - - - - - - - - - - - - - - - - - - - - - - - - - - -"),
                     &window), 0, 168, 320, 16);
    place(new QLabel(QStringLiteral("Base64"), &window), 136, 176, 120, 16);

    auto* firstBox = new QLineEdit(&window);
    place(firstBox, 8, 24, 304, 32);
    place(new QPushButton(QStringLiteral("Clash转换"), &window), 96, 72, 120, 40);
    place(new QLineEdit(&window), 8, 128, 304, 32);
    place(new QLineEdit(&window), 8, 192, 304, 32);
    place(new QPushButton(QStringLiteral("Base64转换"), &window), 104, 232, 120, 40);
    place(new QLineEdit(&window), 8, 280, 304, 32);

    QObject::connect(new QShortcut(QKeySequence(Qt::Key_Escape), &window), &QShortcut::activated,
                     &window, &QWidget::close);
    window.show();
    firstBox->setFocus();
    return QApplication::exec();
}
