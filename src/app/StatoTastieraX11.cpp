#include "app/StatoTastieraX11.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

// Xlib's macros (None, Bool, Status...) clash with Qt's names: include it last.
#include <X11/XKBlib.h>

std::unique_ptr<StatoTastieraX11> StatoTastieraX11::Crea()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return nullptr;
    return std::unique_ptr<StatoTastieraX11>(new StatoTastieraX11(x11->display()));
}

std::optional<bool> StatoTastieraX11::Spia(const char* nome) const
{
    const Atom spia = XInternAtom(display_, nome, True);
    if (spia == 0)
        return std::nullopt;
    int accesa = 0;
    if (!XkbGetNamedIndicator(display_, spia, nullptr, &accesa, nullptr, nullptr))
        return std::nullopt;
    return accesa != 0;
}

std::optional<bool> StatoTastieraX11::BloccoMaiuscole() const
{
    return Spia("Caps Lock");
}

std::optional<bool> StatoTastieraX11::BloccoNumerico() const
{
    return Spia("Num Lock");
}
