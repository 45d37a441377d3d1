#pragma once
// TSettingsObject: the base of the detector module's objects.
//
// Every setter of a derived class stores a value only when it differs from the old
// one, and then reports the change through the object's change callback. An owner
// wires each child's callback to itself, so a change anywhere in the module reaches
// whoever listens on the top object (the configuration window).

#include <functional>
#include <utility>

namespace vantor {

class TSettingsObject {
public:
    using ChangeCallback = std::function<void()>;

    TSettingsObject() = default;
    virtual ~TSettingsObject() = default;
    TSettingsObject(const TSettingsObject &) = delete;
    TSettingsObject &operator=(const TSettingsObject &) = delete;

    // Puts the object's own fields back to their defaults (without reporting a
    // change). Each derived constructor calls its own Reset.
    virtual void Reset() = 0;

    void SetOnChange(ChangeCallback callback) { onChange_ = std::move(callback); }

protected:
    void Changed()
    {
        if (onChange_)
            onChange_();
    }

    // Stores value into field and reports the change, when it is one.
    template <class T, class U>
    void Assign(T &field, U &&value)
    {
        if (field == value)
            return;
        field = std::forward<U>(value);
        Changed();
    }

private:
    ChangeCallback onChange_;
};

} // namespace vantor
