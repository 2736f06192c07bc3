#include "app/CResourceManager.h"

CResourceManager::~CResourceManager() = default;

CResourceDatabase& CResourceManager::Database() {
    static CResourceDatabase database;
    return database;
}

std::wstring CResourceManager::GetMessage(std::wstring_view key) {
    return Database().GetMessage(key);
}
