#include "base/CObservable.h"
#include "base/CObserver.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Call {
    const void* observer;
    CObservable* subject;
    bool operator==(const Call&) const = default;
};

class RecordingObserver : public CObserver {
public:
    explicit RecordingObserver(std::vector<Call>& calls) : m_calls(calls) {}
    void Update(CObservable* subject) override { m_calls.push_back({this, subject}); }

private:
    std::vector<Call>& m_calls;
};

} // namespace

TEST(Observable, TellsEveryAttachmentInOrderWithItself) {
    std::vector<Call> calls;
    RecordingObserver first(calls);
    RecordingObserver second(calls);
    CObservable subject;
    subject.Attach(&first);
    subject.Attach(&second);
    subject.Attach(&first);

    subject.NotifyObservers();

    std::vector<Call> expected = {{&first, &subject}, {&second, &subject}, {&first, &subject}};
    EXPECT_EQ(calls, expected);
}

TEST(Observable, WithoutObserversNotifiesNobody) {
    std::vector<Call> calls;
    RecordingObserver bystander(calls);
    CObservable subject;
    CObservable other;
    other.Attach(&bystander);

    EXPECT_NO_THROW(subject.NotifyObservers());
    EXPECT_TRUE(calls.empty());
}
