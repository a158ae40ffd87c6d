// Where the real message box opens and where the keyboard goes once it is answered.

#include "platform/ui/QtBackend.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <functional>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

// Answers the message box once it is up, after `whileUp` has seen it.
void answerWhenUp(const std::function<void(QMessageBox&)>& whileUp)
{
    QTimer::singleShot(0, [whileUp] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        whileUp(*box);
        box->button(QMessageBox::Ok)->click();
    });
}

} // namespace

// A message asked while a plain modal dialog is open stands over that dialog, although another
// window is kept on top of the others: behind the dialog it could not be answered.
TEST(MessagePlacementTest, AMessageStandsOverTheOpenModalDialogRatherThanAWindowKeptOnTop)
{
    ui::QtBackend real;
    QWidget main;
    main.show();
    QWidget onTop(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
    onTop.show();
    QDialog dialog(&main);
    QWidget* parent = nullptr;
    QTimer::singleShot(0, [&] {
        answerWhenUp([&](QMessageBox& box) { parent = box.parentWidget(); });
        real.message({QStringLiteral("Asked from the dialog."), ui::Buttons::OK, ui::Icon::Information, {}});
        dialog.accept();
    });
    dialog.exec();
    EXPECT_EQ(parent, &dialog);
}

// Once the box is answered the keyboard is back in the control that had it, even when the
// window no longer remembers that control by then (the window system hands activation back
// to a window, and a window that forgot its control gives the keys to its first one).
TEST(MessagePlacementTest, TheKeyboardGoesBackToTheControlThatHadIt)
{
    ui::QtBackend real;
    QWidget window;
    auto* search = new QLineEdit(&window);
    auto* tree = new QTreeWidget(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(search);
    layout->addWidget(tree);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    tree->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), tree);

    answerWhenUp([&](QMessageBox&) { tree->clearFocus(); });
    real.message({QStringLiteral("Done."), ui::Buttons::OK, ui::Icon::Information, {}});

    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == tree; }, 1000));
    EXPECT_NE(QApplication::focusWidget(), search);
}
