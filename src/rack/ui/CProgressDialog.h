#pragma once
#include "base/CResourceManager.h"

#include <QDialog>

class CProgressThreadInterface;
class QLabel;
class QProgressBar;
class QTimer;

// The modal window shown while a worker runs (layout 131): the worker's
// message, a bar and "Cancel". It polls the worker and closes once the worker
// has ended, never before: Cancel only asks the worker to stop.
class CProgressDialog : public QDialog, private CResourceManager {
    Q_OBJECT

public:
    enum ControlId { IdCancel = 2, IdMessage = 1074, IdProgressBar = 1073 };
    static constexpr int kBarRange = 10000;
    static constexpr int kPollMilliseconds = 200;

    explicit CProgressDialog(QWidget* parent = nullptr);
    ~CProgressDialog() override;

    // Starts the thread and runs the window until the thread has ended.
    // Returns the window's end code, QDialog::Accepted.
    int RunWithThread(CProgressThreadInterface& thread);

    // Cancel and Escape: ask the worker to stop, keep watching it.
    void reject() override;

    // The bar position for a count: current / total of the full range,
    // truncated; 0 for an empty total, held within the range.
    static int BarPosition(int current, int total);

private:
    void InitDialog();
    void UpdateFromThread();

    CProgressThreadInterface* m_thread = nullptr;
    QTimer* m_timer = nullptr;
    QLabel* m_message = nullptr;
    QProgressBar* m_progressBar = nullptr;
};
