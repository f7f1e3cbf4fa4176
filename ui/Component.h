#pragma once
// Roots of the layer's object model: TObject (type tests are plain dynamic_cast),
// TComponent (an owner frees what it owns; Name and Tag) and the notify event.
#include <functional>
#include <string>
#include <vector>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

// A plain notification; saving one and installing another is plain assignment.
using TNotifyEvent = std::function<void(TObject* sender)>;

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    // The owned component with this name (without case), or null.
    TComponent* FindComponent(const std::string& name) const;
    // Frees every owned component, the last one first.
    void DestroyComponents();
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    // True once the destructor of this component has started.
    bool Destroying() const { return destroying_; }

protected:
    void SetDestroying() { destroying_ = true; }

private:
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::string name_;
    int tag_ = 0;
    bool destroying_ = false;
};
