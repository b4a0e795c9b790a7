#pragma once
// A skin manager that only records what the skin data components ask of it, in order,
// as text ("Register SkinData1", "RequestAction 1 250"). Installed through the manager
// link's factory for one test (TFakeSkinManagerScope) and destroyed at its end.

#include <windows.h>

#include <string>
#include <vector>

#include "framework/SysUtils.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinManagerLink.h"

namespace vx::skintest {

class TFakeSkinManager : public ISkinManager {
public:
    static inline std::vector<std::string> Log;
    static inline int Made = 0;
    static inline int Destroyed = 0;
    // What SkinManager() answered while the manager was being destroyed.
    static inline bool LinkClearedDuringDestruction = false;
    static inline bool AttachResult = true;

    TFakeSkinManager() { ++Made; }
    ~TFakeSkinManager() override {
        ++Destroyed;
        LinkClearedDuringDestruction = SkinManager() == nullptr;
    }

    static std::unique_ptr<ISkinManager> Make() { return std::make_unique<TFakeSkinManager>(); }

    void RegisterSkinData(TSkinData* data) override { Log.push_back("Register " + NameOf(data)); }
    void UnregisterSkinData(TSkinData* data) override { Log.push_back("Unregister " + NameOf(data)); }
    void InstallHook() override { Log.push_back("InstallHook"); }
    void RequestAction(uint32_t action, uint32_t delayMs) override {
        Log.push_back("RequestAction " + std::to_string(action) + " " + std::to_string(delayMs));
    }
    void SetRequestingSkinData(TSkinData* data) override { Log.push_back("Requesting " + NameOf(data)); }
    void ResetSkinButtons() override { Log.push_back("ResetSkinButtons"); }
    int32_t GetState() const override { return state; }
    void SetState(int32_t value) override {
        state = value;
        Log.push_back("State " + std::to_string(value));
    }
    void SetActive(bool value) override {
        active = value;
        Log.push_back(value ? "Active on" : "Active off");
    }
    bool GetActive() const override { return active; }
    bool AttachForm(HWND window) override {
        Log.push_back("AttachForm");
        attached.push_back(window);
        return AttachResult;
    }

    int32_t state = 0;
    bool active = false;
    std::vector<HWND> attached;

private:
    static std::string NameOf(TSkinData* data) { return data ? WideToUtf8(data->GetName()) : "none"; }
};

// Installs the fake's factory for the life of the scope; any manager made is destroyed
// at its end and the previous factory put back.
class TFakeSkinManagerScope {
public:
    TFakeSkinManagerScope() {
        DestroySkinManager();
        TFakeSkinManager::Log.clear();
        TFakeSkinManager::Made = TFakeSkinManager::Destroyed = 0;
        TFakeSkinManager::AttachResult = true;
        previous_ = InstallSkinManagerFactory(&TFakeSkinManager::Make);
    }
    ~TFakeSkinManagerScope() {
        DestroySkinManager();
        InstallSkinManagerFactory(previous_);
    }
    TFakeSkinManager* Manager() const { return static_cast<TFakeSkinManager*>(SkinManager()); }

private:
    TSkinManagerFactory previous_ = nullptr;
};

}  // namespace vx::skintest
