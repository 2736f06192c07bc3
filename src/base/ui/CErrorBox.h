#pragma once
#include <functional>
#include <string>

class QWidget;

// The one way the windows show an error to the user: a message box with the
// error icon, titled with the application's caption. Tests replace the
// presenter so that they read the text instead of blocking on a box.
class CErrorBox {
public:
    using Presenter = std::function<void(QWidget* parent, const std::wstring& text)>;

    // Shows text over parent (or over the active window when parent is null).
    // Called off the user's thread, the box is shown later on that thread.
    static void Show(QWidget* parent, const std::wstring& text);

    // Replaces the presenter and returns the one it replaces; an empty
    // presenter restores the message box.
    static Presenter SetPresenter(Presenter presenter);

    // Makes CException::ReportError and every other reported error text go
    // through Show.
    static void InstallAsErrorReportHandler();

private:
    static void ShowMessageBox(QWidget* parent, const std::wstring& text);
};
