#include "tools/ComandoVelmira.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication applicazione(argc, argv);
    return EseguiVelmira(QCoreApplication::arguments().mid(1), stdout, stderr);
}
