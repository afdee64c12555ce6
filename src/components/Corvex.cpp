#include "components/Corvex.h"

namespace {
Corvex::Fabbrica& fabbricaInstallata()
{
    static Corvex::Fabbrica fabbrica;
    return fabbrica;
}
}

std::unique_ptr<Corvex> Corvex::Crea()
{
    const Fabbrica& fabbrica = fabbricaInstallata();
    return fabbrica ? fabbrica() : nullptr;
}

void Corvex::InstallaFabbrica(Fabbrica fabbrica)
{
    fabbricaInstallata() = std::move(fabbrica);
}
