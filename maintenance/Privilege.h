#pragma once

// Enables SeDebugPrivilege for this process, so that memory trimming can open other processes.
void EnableDebugPrivilege();
