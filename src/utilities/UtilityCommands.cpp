#include "UtilityCommands.h"

#include "DialogRunner.h"
#include "TCalendrier.h"
#include "THorloge.h"
#include "TPocket.h"

namespace vermeo::utilities {

namespace {
template <class Window>
void runModal(QWidget *parent)
{
    Window window(parent);
    DialogRunner::exec(window);
}
} // namespace

void Calendrier(QWidget *parent) { runModal<TCalendrier>(parent); }
void Calculatrice(QWidget *parent) { runModal<TPocket>(parent); }
void Horloge(QWidget *parent) { runModal<THorloge>(parent); }

} // namespace vermeo::utilities
