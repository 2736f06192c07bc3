#include "base/CObservable.h"
#include "base/ui/RegisteredEvents.h"
#include "monitor/ui/CObserverDialog.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>
#include <utility>
#include <vector>

namespace {

class RecordingDialog : public CObserverDialog {
public:
    std::vector<std::pair<CObservable*, std::thread::id>> updates;

protected:
    void OnUpdate(CObservable* subject) override {
        updates.emplace_back(subject, std::this_thread::get_id());
    }
};

// Counts into a number that outlives the window.
class CountingDialog : public CObserverDialog {
public:
    explicit CountingDialog(int& count) : m_count(count) {}

protected:
    void OnUpdate(CObservable*) override { ++m_count; }

private:
    int& m_count;
};

} // namespace

TEST(ObserverDialog, NotificationsFromAnotherThreadArriveLaterOnTheWindowsThreadInOrder) {
    RecordingDialog dialog;
    CObservable first;
    CObservable second;
    first.Attach(&dialog);
    second.Attach(&dialog);

    std::thread worker([&] {
        first.NotifyObservers();
        second.NotifyObservers();
        first.NotifyObservers();
    });
    worker.join();
    EXPECT_TRUE(dialog.updates.empty()) << "the window's code ran on the notifying thread";

    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.updates.size() >= 3; }, 2000));
    QCoreApplication::processEvents();
    ASSERT_EQ(dialog.updates.size(), 3u);
    EXPECT_EQ(dialog.updates[0].first, &first);
    EXPECT_EQ(dialog.updates[1].first, &second);
    EXPECT_EQ(dialog.updates[2].first, &first);
    for (const auto& update : dialog.updates) {
        EXPECT_EQ(update.second, std::this_thread::get_id());
    }
}

TEST(ObserverDialog, AttachedTwiceHearsTwice) {
    RecordingDialog dialog;
    RecordingDialog bystander;
    CObservable subject;
    subject.Attach(&dialog);
    subject.Attach(&dialog);

    subject.NotifyObservers();
    QCoreApplication::processEvents();

    EXPECT_EQ(dialog.updates.size(), 2u);
    EXPECT_TRUE(bystander.updates.empty());
}

TEST(ObserverDialog, NotificationsPendingForAClosedWindowAreDropped) {
    int closedCount = 0;
    int openCount = 0;
    CountingDialog open(openCount);
    auto* closed = new CountingDialog(closedCount);
    CObservable subject;
    subject.Attach(closed);
    subject.Attach(&open);
    subject.NotifyObservers();
    delete closed;

    QCoreApplication::processEvents();
    EXPECT_EQ(closedCount, 0);
    EXPECT_EQ(openCount, 1);
}

TEST(ObserverDialog, RegisteredEventTypeIsAUserTypeAndStable) {
    QEvent::Type update = UpdateObserverEventType();
    EXPECT_GE(update, QEvent::User);
    RegisterEventTypes();
    EXPECT_EQ(UpdateObserverEventType(), update);
}
