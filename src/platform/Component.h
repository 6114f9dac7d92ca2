#pragma once
// Root objects and components: an owner frees the components it owns, and a
// component can ask to be told when another one is freed.
#include <string>
#include <vector>

namespace rpt {

class TObject {
public:
    virtual ~TObject() = default;
};

enum class TOperation { opInsert, opRemove };

class TComponent : public TObject {
public:
    // The owner, when given, takes ownership and frees this component with itself.
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    const std::vector<TComponent*>& Components() const { return components_; }

    // Asks `other` to call Notification(other, opRemove) on this component
    // when it is freed. The registration is dropped from both sides when
    // either is freed.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

protected:
    virtual void Notification(TComponent* component, TOperation operation);

private:
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    TComponent* owner_ = nullptr;
    std::string name_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    bool destroying_ = false;
};

} // namespace rpt
