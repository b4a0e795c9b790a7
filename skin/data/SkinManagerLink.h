#pragma once
// What the skin data component asks of the process's one skin manager. The manager
// lives in the window-skinning layer, which builds on this data layer; the data layer
// therefore knows it only through this interface, and the window layer installs the
// factory that makes it (InstallSkinManagerFactory), so no include goes upwards.

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

class ISkinManager {
public:
    virtual ~ISkinManager() = default;

    virtual void RegisterSkinData(TSkinData* data) = 0;
    virtual void UnregisterSkinData(TSkinData* data) = 0;
    // Installs the window-creation hook on the calling (GUI) thread.
    virtual void InstallHook() = 0;
    // Runs `action` after `delayMs` on the manager's timer (see the manager for the
    // rules while nothing has been attached yet).
    virtual void RequestAction(uint32_t action, uint32_t delayMs) = 0;
    virtual void SetRequestingSkinData(TSkinData* data) = 0;
    // Frees the title-bar buttons of every form that uses the requesting skin data.
    virtual void ResetSkinButtons() = 0;
    // 0 nothing attached yet, 1 running, 4 being destroyed.
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
void InstallSkinManagerFactory(TSkinManagerFactory factory);

// The manager, or null while none exists.
ISkinManager* SkinManager();
// The manager, made through the factory when there is none yet (null without a factory).
ISkinManager* EnsureSkinManager();
// Destroys the manager (restoring every skinned window). Runs before the application
// object goes away; safe to call when there is none.
void DestroySkinManager();

}  // namespace vx
