#include "app/StatoTastiera.h"

#ifdef VELMIRA_X11
#include "app/StatoTastieraX11.h"
#endif

std::unique_ptr<StatoTastiera> StatoTastiera::DelSistema()
{
#ifdef VELMIRA_X11
    if (auto x11 = StatoTastieraX11::Crea())
        return x11;
#endif
    return std::make_unique<StatoTastieraIgnoto>();
}
