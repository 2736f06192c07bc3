#pragma once
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace k52test {

// Runs action on the modal window that the code under test is about to open,
// as soon as that window is shown. Fails the test if none opens in time.
void WhenModalShown(std::function<void(QWidget*)> action, int timeoutMilliseconds = 5000);

// Collects the texts of error boxes and reported errors while it lives, in
// place of real message boxes.
class ErrorBoxRecorder {
public:
    ErrorBoxRecorder();
    ~ErrorBoxRecorder();
    ErrorBoxRecorder(const ErrorBoxRecorder&) = delete;
    ErrorBoxRecorder& operator=(const ErrorBoxRecorder&) = delete;

    const std::vector<std::wstring>& Texts() const { return m_texts; }

private:
    std::vector<std::wstring> m_texts;
};

} // namespace k52test
