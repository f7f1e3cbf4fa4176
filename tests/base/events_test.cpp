// Handling events without user input: posted calls and other events run,
// keyboard and mouse input waits for a later loop and keeps its order; a
// modal loop opened meanwhile still gets its own input.
#include "base/Events.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QObject>

#include <gtest/gtest.h>

#include <string>

namespace {

// Records what reaches it: "k" plus the key code for a key press, "m" for a
// mouse press, "t" for a timer-free custom event.
class Receiver : public QObject {
public:
    std::string log;
    static QEvent::Type Custom() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    bool event(QEvent* e) override {
        if (e->type() == QEvent::KeyPress)
            log += "k" + std::to_string(static_cast<QKeyEvent*>(e)->key() - Qt::Key_0);
        else if (e->type() == QEvent::MouseButtonPress)
            log += "m";
        else if (e->type() == Custom())
            log += "c";
        else
            return QObject::event(e);
        return true;
    }
};

void PostKey(QObject* to, int digit) {
    QCoreApplication::postEvent(to,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_0 + digit, Qt::NoModifier));
}

void PostClick(QObject* to) {
    QCoreApplication::postEvent(to, new QMouseEvent(QEvent::MouseButtonPress, QPointF(2, 2),
                                                    QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                                                    Qt::NoModifier));
}

TEST(ProcessMessagesWithoutInput, HoldsInputAndRunsTheRest) {
    Receiver r;
    std::string calls;
    PostKey(&r, 1);
    PostCall([&] { calls += "a"; });
    PostClick(&r);
    QCoreApplication::postEvent(&r, new QEvent(Receiver::Custom()));
    PostKey(&r, 2);
    ProcessMessagesWithoutInput();
    EXPECT_EQ(calls, "a");
    EXPECT_EQ(r.log, "c");
    ProcessMessages();
    EXPECT_EQ(r.log, "ck1mk2") << "held input comes later, in its order";
}

TEST(ProcessMessagesWithoutInput, DeliversNothingToAReceiverGoneMeanwhile) {
    auto* gone = new Receiver;
    Receiver stays;
    {
        UserInputHold hold;
        PostKey(gone, 1);
        PostKey(&stays, 2);
        ProcessMessagesWithoutInput();
        EXPECT_TRUE(gone->log.empty());
        delete gone;
    }
    ProcessMessages();
    EXPECT_EQ(stays.log, "k2");
}

// A completion that opens a modal loop while input is held: that loop is the
// user's now, so its input goes through.
TEST(ProcessMessagesWithoutInput, ModalLoopOpenedMeanwhileGetsItsInput) {
    Receiver outer, dialog;
    std::string inDialog = "?";
    PostKey(&outer, 1);
    PostCall([&] {
        QEventLoop loop;
        PostKey(&dialog, 2);
        PostCall([&] {
            inDialog = dialog.log;
            loop.quit();
        });
        loop.exec();
    });
    ProcessMessagesWithoutInput();
    EXPECT_EQ(inDialog, "k2");
    EXPECT_TRUE(outer.log.empty());
    ProcessMessages();
    EXPECT_EQ(outer.log, "k1");
}

TEST(UserInputHold, NestedHoldsReleaseOnceAtTheOuterEnd) {
    Receiver r;
    {
        UserInputHold outer;
        {
            UserInputHold inner;
            PostKey(&r, 1);
            ProcessMessages();
        }
        ProcessMessages();
        EXPECT_TRUE(r.log.empty()) << "released by the inner hold";
    }
    ProcessMessages();
    EXPECT_EQ(r.log, "k1");
}

} // namespace
