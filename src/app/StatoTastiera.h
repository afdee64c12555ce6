#pragma once

#include <memory>
#include <optional>

// The lock keys' state as the keyboard shows it on its lights. Nothing when
// the platform does not tell (no X server, a Wayland session, a test).
class StatoTastiera
{
public:
    virtual ~StatoTastiera() = default;
    virtual std::optional<bool> BloccoMaiuscole() const = 0;
    virtual std::optional<bool> BloccoNumerico() const = 0;

    // The best reader the running platform offers.
    static std::unique_ptr<StatoTastiera> DelSistema();
};

// For platforms that do not tell: every state is unknown.
class StatoTastieraIgnoto : public StatoTastiera
{
public:
    std::optional<bool> BloccoMaiuscole() const override { return std::nullopt; }
    std::optional<bool> BloccoNumerico() const override { return std::nullopt; }
};
