#include "common/Orologio.h"

namespace {
Orologio& orologio()
{
    static Orologio attuale;
    return attuale;
}
}

QDateTime Adesso()
{
    return orologio() ? orologio()() : QDateTime::currentDateTime();
}

void ImpostaOrologio(Orologio nuovo)
{
    orologio() = std::move(nuovo);
}

void FissaFusoOrario()
{
#ifdef Q_OS_LINUX
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", ":/etc/localtime");
#endif
}
