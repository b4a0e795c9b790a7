#include "skin/data/SkinManagerLink.h"

#include <cstdlib>

namespace vx {

namespace {

TSkinManagerFactory factory = nullptr;
// Owned here; a plain pointer, so nothing is left to a static destructor that could run
// after the application object has freed the forms.
ISkinManager* manager = nullptr;
bool destroying = false;
bool exitHandlerInstalled = false;

}  // namespace

TSkinManagerFactory InstallSkinManagerFactory(TSkinManagerFactory newFactory) {
    TSkinManagerFactory previous = factory;
    factory = newFactory;
    return previous;
}

ISkinManager* SkinManager() { return manager; }

ISkinManager* EnsureSkinManager() {
    if (manager || destroying || !factory) return manager;
    manager = factory().release();
    // Exit handlers registered now run before the destructors of statics made earlier,
    // the application object among them: the manager restores the windows while their
    // forms still exist.
    if (manager && !exitHandlerInstalled) exitHandlerInstalled = std::atexit(&DestroySkinManager) == 0;
    return manager;
}

void DestroySkinManager() {
    if (!manager || destroying) return;
    destroying = true;
    ISkinManager* gone = manager;
    manager = nullptr;
    delete gone;
    destroying = false;
}

}  // namespace vx
