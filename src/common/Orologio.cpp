#include "common/Orologio.h"

namespace {
std::function<QDateTime()>& orologio()
{
    static std::function<QDateTime()> attuale;
    return attuale;
}
}

QDateTime Adesso()
{
    return orologio() ? orologio()() : QDateTime::currentDateTime();
}

void ImpostaOrologio(std::function<QDateTime()> nuovo)
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
