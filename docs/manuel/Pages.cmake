# The pages of the French manual, built into the program and installed beside it.
set(VERMEO_MANUAL_FILES
  index.html fichier.html edition.html image.html couleurs.html affichage.html utilitaires.html fenetre.html
  aide.html outils.html formats.html filtres.html vermeo-cli.html utiliser.html style.css)
