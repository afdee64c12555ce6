#include "components/Corvex.h"

namespace {
Corvex::Fabbrica& fabbricaInstallata()
{
    static Corvex::Fabbrica fabbrica;
    return fabbrica;
}
}

std::unique_ptr<Corvex> Corvex::Crea(const Contesto& contesto)
{
    const Fabbrica& fabbrica = fabbricaInstallata();
    return fabbrica ? fabbrica(contesto) : nullptr;
}

void Corvex::InstallaFabbrica(Fabbrica fabbrica)
{
    fabbricaInstallata() = std::move(fabbrica);
}
