#include "rack/CDownloadThread.h"

CDownloadThread::CDownloadThread() : CTransferThread(Operation::Download) {}

CDownloadThread::~CDownloadThread() = default;
