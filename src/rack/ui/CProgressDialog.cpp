#include "rack/ui/CProgressDialog.h"

#include "base/CException.h"
#include "base/ui/CDialogUnits.h"
#include "base/ui/CErrorBox.h"
#include "base/ui/TranslateWindow.h"
#include "rack/CProgressThreadInterface.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kWindowNumber = 131;

} // namespace

CProgressDialog::CProgressDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Processing..."));
    CDialogUnits units(font());
    units.SizeWindow(this, 216, 66);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    units.Place(cancel, IdCancel, 82, 46, 50, 14);
    // Cancelling is a deliberate act: Enter, meant for some other window,
    // must neither stop the work nor close this one.
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &CProgressDialog::reject);

    m_message = new QLabel(this);
    m_message->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    units.Place(m_message, IdMessage, 6, 10, 204, 8);

    m_progressBar = new QProgressBar(this);
    m_progressBar->setTextVisible(false);
    units.Place(m_progressBar, IdProgressBar, 6, 26, 204, 14);

    m_timer = new QTimer(this);
    m_timer->setInterval(kPollMilliseconds);
    connect(m_timer, &QTimer::timeout, this, &CProgressDialog::UpdateFromThread);
}

CProgressDialog::~CProgressDialog() = default;

int CProgressDialog::RunWithThread(CProgressThreadInterface& thread) {
    m_thread = &thread;
    InitDialog();
    try {
        m_thread->Start();
    } catch (...) {
        // No worker runs, so there is nothing to watch.
        m_thread = nullptr;
        throw;
    }
    // The first look at the worker happens as soon as the window runs; a
    // worker that fails at once closes it there.
    QTimer::singleShot(0, this, &CProgressDialog::UpdateFromThread);
    m_timer->start();
    int result = exec();
    m_timer->stop();
    m_thread = nullptr;
    return result;
}

void CProgressDialog::InitDialog() {
    m_progressBar->setRange(0, kBarRange);
    m_progressBar->setValue(0);
    try {
        TranslateWindow(kWindowNumber, this);
    } catch (const std::exception& error) {
        // The worker must still be watched and the window still closed: a
        // missing text is shown, not allowed to stop the run.
        CErrorBox::Show(parentWidget(), GetExceptionMessage(error, 1024));
    }
    FitWindowToTexts(this);
}

void CProgressDialog::reject() {
    if (m_thread != nullptr) {
        m_thread->Cancel();
    }
    // The window stays until the worker has ended; the next poll closes it.
}

int CProgressDialog::BarPosition(int current, int total) {
    if (total == 0) {
        return 0;
    }
    double position = static_cast<double>(current) / static_cast<double>(total) * kBarRange;
    // The count may run past the total; a negative count or total is no
    // progress at all.
    if (!(position > 0.0)) {
        return 0;
    }
    if (position >= kBarRange) {
        return kBarRange;
    }
    return static_cast<int>(position);
}

void CProgressDialog::UpdateFromThread() {
    if (m_thread == nullptr) {
        return;
    }
    if (m_thread->HasEnded()) {
        m_timer->stop();
        accept();
        return;
    }
    QString text = QString::fromStdWString(m_thread->GetProgressText());
    if (m_message->text() != text) {
        m_message->setText(text);
    }
    const CProgressCounter& progress = m_thread->GetProgress();
    int position = BarPosition(progress.GetCurrent(), progress.GetTotal());
    if (m_progressBar->value() != position) {
        m_progressBar->setValue(position);
    }
}
