#include "rack/CUploadThread.h"

CUploadThread::CUploadThread() : CTransferThread(Operation::Upload) {}

CUploadThread::~CUploadThread() = default;
