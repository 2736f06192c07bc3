#include "base/ui/CErrorBox.h"

#include "base/CException.h"
#include "base/TextConvert.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QThread>

#include <cstdio>
#include <mutex>

namespace {

std::mutex g_presenterMutex;
CErrorBox::Presenter g_presenter;

CErrorBox::Presenter CurrentPresenter() {
    std::lock_guard lock(g_presenterMutex);
    return g_presenter;
}

} // namespace

void CErrorBox::Show(QWidget* parent, const std::wstring& text) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application != nullptr && QThread::currentThread() != application->thread()) {
        // Widgets live on the user's thread only. Queued, not blocking: the
        // user's thread may itself be waiting for the caller.
        QPointer<QWidget> guardedParent(parent);
        QMetaObject::invokeMethod(
            application, [guardedParent, text] { Show(guardedParent.data(), text); }, Qt::QueuedConnection);
        return;
    }
    Presenter presenter = CurrentPresenter();
    if (presenter) {
        presenter(parent, text);
    } else {
        ShowMessageBox(parent, text);
    }
}

CErrorBox::Presenter CErrorBox::SetPresenter(Presenter presenter) {
    std::lock_guard lock(g_presenterMutex);
    Presenter previous = std::move(g_presenter);
    g_presenter = std::move(presenter);
    return previous;
}

void CErrorBox::InstallAsErrorReportHandler() {
    SetErrorReportHandler([](const std::wstring& text) { Show(nullptr, text); });
}

void CErrorBox::ShowMessageBox(QWidget* parent, const std::wstring& text) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        // No windows can exist without the widget application: say it where
        // someone may still read it rather than lose it.
        std::fprintf(stderr, "%s\n", ToUtf8(text).c_str());
        return;
    }
    if (parent == nullptr) {
        parent = QApplication::activeWindow();
    }
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(),
                    QString::fromStdWString(text), QMessageBox::Ok, parent);
    box.exec();
}
