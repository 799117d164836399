// Shared by the Windows halves of the automation primitives only.
#pragma once

#include <windows.h>

#include <cstdint>

// Records the outcome of the calling thread's latest create, write or call:
// 0 for success, the failure's negative HRESULT otherwise.
void set_automation_error(HRESULT result);
