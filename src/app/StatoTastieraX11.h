#pragma once

#include "app/StatoTastiera.h"

struct _XDisplay;

// Reads the Caps Lock and Num Lock lights through the X keyboard extension
// on the display the application already has open.
class StatoTastieraX11 : public StatoTastiera
{
public:
    // Nothing when the application does not run on an X server.
    static std::unique_ptr<StatoTastieraX11> Crea();

    std::optional<bool> BloccoMaiuscole() const override;
    std::optional<bool> BloccoNumerico() const override;

private:
    explicit StatoTastieraX11(_XDisplay* display) : display_(display) {}
    std::optional<bool> Spia(const char* nome) const;

    _XDisplay* display_;
};
