#pragma once
// What the skin data component asks of the process's one skin manager. The manager
// lives in the window-skinning layer, which builds on this data layer; the data layer
// therefore knows it only through this interface, and the window layer installs the
// factory that makes it (InstallSkinManagerFactory), so no include goes upwards.
//
// Everything here runs on the GUI thread only.

#include <windows.h>

#include <cstdint>
#include <memory>

namespace vx {

class TSkinData;

// Actions the manager carries out on its timer, some time after they are requested.
enum : uint32_t {
    SkinActionActivate = 1,
    SkinActionDeactivate = 2,
    SkinActionRefresh = 3,
    SkinActionPurge = 6,
};

// Manager states (GetState/SetState).
enum : int32_t {
    SkinStateIdle = 0,        // nothing attached yet
    SkinStateRunning = 1,
    SkinStateDestroying = 4,  // list removals are skipped
};

class ISkinManager {
public:
    virtual ~ISkinManager() = default;

    // Appends the component to the skin data list; the first sfMainform component
    // becomes the main skin data.
    virtual void RegisterSkinData(TSkinData* data) = 0;
    // Removes the component from the list and forgets it wherever the manager keeps it
    // (main skin data, requesting skin data of a pending action, form objects that use
    // it): the component is being destroyed and must not be reached afterwards.
    virtual void UnregisterSkinData(TSkinData* data) = 0;
    // Installs the window-creation hook on the calling (GUI) thread.
    virtual void InstallHook() = 0;
    // Runs `action` after `delayMs` on the manager's timer (see the manager for the
    // rules while nothing has been attached yet).
    virtual void RequestAction(uint32_t action, uint32_t delayMs) = 0;
    // The component on whose behalf the next action runs (null: none).
    virtual void SetRequestingSkinData(TSkinData* data) = 0;
    // Frees the title-bar buttons of every form that uses the requesting skin data.
    virtual void ResetSkinButtons() = 0;
    // SkinStateIdle, SkinStateRunning or SkinStateDestroying; a skin data component of
    // another scope than the main form's counts the state up by one when it loads.
    virtual int32_t GetState() const = 0;
    virtual void SetState(int32_t state) = 0;
    virtual void SetActive(bool active) = 0;
    virtual bool GetActive() const = 0;
    // Skins one top-level window now; true when a form object was attached.
    virtual bool AttachForm(HWND window) = 0;
};

using TSkinManagerFactory = std::unique_ptr<ISkinManager> (*)();

// The window layer registers how the manager is made (once, before any skin data
// finishes loading). Without a factory no manager is ever made and nothing is skinned.
// Returns the factory installed before (tests put it back); null uninstalls.
TSkinManagerFactory InstallSkinManagerFactory(TSkinManagerFactory factory);

// The manager, or null while none exists (also while it is being destroyed).
ISkinManager* SkinManager();
// The manager, made through the factory when there is none yet (null without a factory
// or while the manager is being destroyed). The first manager made also arranges its
// own destruction at process exit, before the application object (and the forms it
// owns) goes away.
ISkinManager* EnsureSkinManager();
// Destroys the manager (restoring every skinned window). Safe to call when there is
// none and more than once; SkinManager() is null from the start of the destruction, so
// components destroyed meanwhile do not reach a half-destroyed manager.
void DestroySkinManager();

}  // namespace vx
