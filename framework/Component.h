#pragma once
// Components: objects with an owner that frees what it owns, a name and a tag. Forms
// own their controls, menus, dialogs and timers this way, and other code (the skin
// engine) hangs its own objects on a control by making the control their owner.

#include <string>
#include <string_view>
#include <vector>

#include "framework/Object.h"

namespace vx {

// Component state flags (ComponentState() is a combination of them).
enum TComponentStateFlag : unsigned {
    csLoading = 1,     // the owning form is still being built; cleared by Loaded()
    csDestroying = 2,  // the component is being destroyed: no more events
    csDesigning = 4,   // kept for code that asks; never set at run time
};
using TComponentState = unsigned;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
    VX_DECLARE_CLASS(TComponent, TPersistent)
public:
    // The owner (may be null) takes the component into its list and frees it.
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    std::wstring GetName() const { return name_; }
    void SetName(const std::wstring& name) { name_ = name; }
    int GetTag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    // The owned component with this name (without regard to case), or null.
    TComponent* FindComponent(std::wstring_view name) const;

    TComponentState ComponentState() const { return state_; }
    bool IsLoading() const { return (state_ & csLoading) != 0; }
    bool IsDestroying() const { return (state_ & csDestroying) != 0; }

    // Takes a component into this one's list (removing it from its previous owner's).
    void InsertComponent(TComponent* component);
    // Releases a component from this one's list without freeing it.
    void RemoveComponent(TComponent* component);
    // Frees every owned component, the last inserted first.
    void DestroyComponents();

    // Asks to be told (Notification with opRemove) when `component` is freed, even when
    // the two have different owners.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Called once the owning form has been built; clears csLoading.
    virtual void Loaded();
    // Marks the component and everything it owns as being destroyed.
    virtual void Destroying();
    // Marks the component as being built (csLoading) until Loaded().
    void BeginLoading();

    static void RegisterProperties(TPropertyRegistrar<TComponent>& r);

protected:
    // Told when a component joins (opInsert) or leaves (opRemove) the owner's list, and
    // when a component this one asked about with FreeNotification is freed.
    virtual void Notification(TComponent* component, TOperation operation);

private:
    void NotifyAll(TComponent* component, TOperation operation);

    TComponent* owner_ = nullptr;
    std::wstring name_;
    int tag_ = 0;
    TComponentState state_ = 0;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
};

}  // namespace vx
