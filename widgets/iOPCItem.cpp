#include "widgets/iOPCItem.h"

TiOPCItemManager::~TiOPCItemManager() = default;
