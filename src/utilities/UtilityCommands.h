#pragma once
// The commands of the "Utilitaires" menu: each window is made, shown modally and freed.
class QWidget;

namespace vermeo::utilities {

void Calendrier(QWidget *parent);
void Calculatrice(QWidget *parent);
void Horloge(QWidget *parent);

} // namespace vermeo::utilities
