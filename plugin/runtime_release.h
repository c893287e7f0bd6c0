// What the statically linked C++ runtime takes when the module loads and never gives
// back by itself. A host that loads and frees plug-ins on demand must get it all back.
#pragma once

// Called when the host frees the module (not when the process ends): frees the
// runtime's emergency pool for exceptions and closes the semaphores of its mutexes.
void ReleaseRuntimeResources();
