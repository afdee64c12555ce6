#include "mail/Segreti.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#ifdef Q_OS_LINUX
#include <malloc.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#endif

namespace {

void azzera(void* blocco, size_t dimensione)
{
#ifdef Q_OS_LINUX
    ::explicit_bzero(blocco, dimensione);
#else
    volatile auto* byte = static_cast<volatile unsigned char*>(blocco);
    while (dimensione--)
        *byte++ = 0;
#endif
}

size_t dimensioneDi(void* blocco)
{
#ifdef Q_OS_LINUX
    return ::malloc_usable_size(blocco);
#else
    (void)blocco;
    return 0;
#endif
}

} // namespace

void ProteggiProcesso()
{
#ifdef Q_OS_LINUX
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
    const rlimit nessuno{0, 0};
    ::setrlimit(RLIMIT_CORE, &nessuno);
#endif
}

void AzzeraSegreto(QByteArray& segreto)
{
    if (!segreto.isEmpty())
        azzera(segreto.data(), size_t(segreto.size()));
    segreto.clear();
}

void AzzeraSegreto(QString& segreto)
{
    if (!segreto.isEmpty())
        azzera(segreto.data(), size_t(segreto.size()) * sizeof(QChar));
    segreto.clear();
}

void LiberaSegreto(void* blocco)
{
    if (blocco)
        azzera(blocco, dimensioneDi(blocco));
    std::free(blocco);
}

void* RiallocaSegreto(void* blocco, size_t dimensione)
{
    // Never left to realloc, which may release the old block as it was.
    void* nuovo = std::malloc(dimensione ? dimensione : 1);
    if (nuovo && blocco)
        std::memcpy(nuovo, blocco, std::min(dimensione, dimensioneDi(blocco)));
    if (nuovo)
        LiberaSegreto(blocco);
    return nuovo;
}

char* DuplicaSegreto(const char* testo)
{
    const size_t lunghezza = std::strlen(testo) + 1;
    auto* copia = static_cast<char*>(std::malloc(lunghezza));
    if (copia)
        std::memcpy(copia, testo, lunghezza);
    return copia;
}
