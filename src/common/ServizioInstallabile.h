#pragma once

// A service the program reaches through one interface, with an
// implementation that serves until another is installed (the program
// installs the desktop's at start, tests install doubles). Installing
// nothing puts the fallback back.
template <class Interfaccia, class Predefinito>
class ServizioInstallabile
{
public:
    static Interfaccia& Attuale() { return *installato(); }
    static void Installa(Interfaccia* servizio) { installato() = servizio ? servizio : &predefinito(); }

private:
    static Predefinito& predefinito()
    {
        static Predefinito servizio;
        return servizio;
    }
    static Interfaccia*& installato()
    {
        static Interfaccia* servizio = &predefinito();
        return servizio;
    }
};
