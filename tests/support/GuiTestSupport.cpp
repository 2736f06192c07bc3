#include "support/GuiTestSupport.h"

#include "base/CException.h"
#include "base/ui/CErrorBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace k52test {

namespace {

struct ModalWait {
    std::function<void(QWidget*)> action;
    QElapsedTimer clock;
    int timeoutMilliseconds = 0;
};

void PollForModal(const std::shared_ptr<ModalWait>& wait) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal->isVisible()) {
        wait->action(modal);
        return;
    }
    if (wait->clock.elapsed() > wait->timeoutMilliseconds) {
        ADD_FAILURE() << "no modal window opened";
        return;
    }
    QTimer::singleShot(10, [wait] { PollForModal(wait); });
}

} // namespace

void WhenModalShown(std::function<void(QWidget*)> action, int timeoutMilliseconds) {
    auto wait = std::make_shared<ModalWait>();
    wait->action = std::move(action);
    wait->timeoutMilliseconds = timeoutMilliseconds;
    wait->clock.start();
    QTimer::singleShot(0, [wait] { PollForModal(wait); });
}

ErrorBoxRecorder::ErrorBoxRecorder() {
    CErrorBox::SetPresenter([this](QWidget*, const std::wstring& text) { m_texts.push_back(text); });
    CErrorBox::InstallAsErrorReportHandler();
}

ErrorBoxRecorder::~ErrorBoxRecorder() {
    CErrorBox::SetPresenter(nullptr);
    SetErrorReportHandler(nullptr);
}

} // namespace k52test
