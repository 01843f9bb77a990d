#pragma once
#include "Object.h"

#include <string>
#include <vector>

enum TOperation { opInsert, opRemove };

// A named object that may own others. An owner frees what it owns, newest first; components
// that hold a reference to another ask it for a removal notification, so that no reference
// outlives its object.
class TComponent : public TObject {
  public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    const char* ClassName() const override { return "TComponent"; }

    const std::string& Name() const { return FName; }
    void SetName(const std::string& name) { FName = name; }
    TComponent* Owner() const { return FOwner; }
    const std::vector<TComponent*>& Components() const { return FComponents; }
    TComponent* FindComponent(const std::string& name) const;

    // Links the two: whichever goes first tells the other through Notification(..., opRemove).
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    bool Destroying() const { return FDestroying; }

  protected:
    // Told when a component this one owns or watches is inserted or removed.
    virtual void Notification(TComponent* component, TOperation operation);
    // Marks the component as being destroyed and tells the derived classes before members go.
    void BeginDestroy();
    // Frees the owned components, newest first; the destructor does it too when not done before.
    void DestroyComponents();

  private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void NotifyRemoval();

    std::string FName;
    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FWatchers;
    bool FDestroying = false;
};
