#!/usr/bin/env bash
# Checks the three manuals the build laid out: each opens, holds its main
# headings in its own language (and none of the English ones when it is not
# the English manual), has more than one page, and embeds every font, all of
# them Liberation.
#
#   check_manuals.sh <manual folder>
set -u

dir=${1:?usage: check_manuals.sh <manual folder>}

for tool in pdftotext pdfinfo pdffonts; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "FAIL: $tool not found (Debian: apt-get install poppler-utils)"
    exit 1
  fi
done

# The headings of each manual, one per line: its chapters and the sections
# that tell what each conversion reads.
english_headings='User manual
What Tellumo does
A first sounding, step by step
The model window
Automatic model and fit
Older files and instrument files
Converting an instrument file
What each conversion reads
Syscal files (*.DAT)
OYO files (*.csv)
Astier files (*.dat)
ABEM .VES files
ABEM SAS1000 files (*.amp)
Geotrade files (*.GTR)
PASI files (*.TXT)
Conversions in a batch
RES2DINV data sets (*.DAT)
Multiple soundings sheets (*.TXT)
Profiles and slices
The soundings of a profile
Settings and files
The settings file
The program folder'

french_headings="Manuel d'utilisation
Ce que fait Tellumo
Un premier sondage pas à pas
La fenêtre du modèle
Modèle automatique et ajustement
Fichiers anciens et fichiers d'appareils
Convertir un fichier d'appareil
Ce que lit chaque conversion
Fichiers Syscal (*.DAT)
Fichiers OYO (*.csv)
Fichiers Astier (*.dat)
Fichiers ABEM .VES
Fichiers ABEM SAS1000 (*.amp)
Fichiers Geotrade (*.GTR)
Fichiers PASI (*.TXT)
Conversions par lot
Jeux de données RES2DINV (*.DAT)
Feuilles de sondages multiples (*.TXT)
Profils et coupes horizontales
Les sondages d'un profil
Réglages et fichiers
Le fichier de réglages
Le dossier du programme"

spanish_headings='Manual del usuario
Qué hace Tellumo
Un primer sondeo paso a paso
La ventana del modelo
Modelo automático y ajuste
Ficheros antiguos y ficheros de instrumentos
Convertir un fichero de instrumento
Lo que lee cada conversión
Ficheros Syscal (*.DAT)
Ficheros OYO (*.csv)
Ficheros Astier (*.dat)
Ficheros ABEM .VES
Ficheros ABEM SAS1000 (*.amp)
Ficheros Geotrade (*.GTR)
Ficheros PASI (*.TXT)
Conversiones por lotes
Conjuntos de datos RES2DINV (*.DAT)
Hojas de sondeos múltiples (*.TXT)
Perfiles y cortes horizontales
Los sondeos de un perfil
Configuración y ficheros
El fichero de configuración
La carpeta del programa'

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# check <pdf> <expected headings> <headings that must be absent>
check() {
  local pdf=$1 expected=$2 absent=$3 name text pages fonts
  name=$(basename "$pdf")
  if [ ! -f "$pdf" ]; then
    fail "$name: missing"
    return
  fi
  if ! text=$(pdftotext -enc UTF-8 "$pdf" - 2>&1); then
    fail "$name: pdftotext cannot read it: $text"
    return
  fi
  # Words broken over lines by the layout are joined again.
  text=$(printf '%s\n' "$text" | tr '\n' ' ' | tr -s ' ')
  while IFS= read -r heading; do
    [ -z "$heading" ] && continue
    case "$text" in
      *"$heading"*) ;;
      *) fail "$name: heading \"$heading\" not found" ;;
    esac
  done <<<"$expected"
  while IFS= read -r heading; do
    [ -z "$heading" ] && continue
    case "$text" in
      *"$heading"*) fail "$name: English heading \"$heading\" found" ;;
    esac
  done <<<"$absent"

  pages=$(pdfinfo "$pdf" 2>/dev/null | sed -n 's/^Pages: *//p')
  if [ -z "$pages" ]; then
    fail "$name: pdfinfo cannot read it"
  elif [ "$pages" -le 1 ]; then
    fail "$name: $pages page"
  fi

  # pdffonts: two heading lines, then one line per font; "emb" is the
  # fifth column from the right (name type encoding emb sub uni object ID).
  if ! fonts=$(pdffonts "$pdf" 2>&1); then
    fail "$name: pdffonts cannot read it: $fonts"
    return
  fi
  fonts=$(printf '%s\n' "$fonts" | tail -n +3)
  if [ -z "$fonts" ]; then
    fail "$name: no fonts listed"
  fi
  while IFS= read -r line; do
    [ -z "$line" ] && continue
    read -r -a fields <<<"$line"
    local n=${#fields[@]}
    local emb=${fields[$((n - 5))]}
    [ "$emb" = "yes" ] || fail "$name: font not embedded: $line"
    case "${fields[0]}" in
      *Liberation*) ;;
      *) fail "$name: font other than Liberation: $line" ;;
    esac
  done <<<"$fonts"
}

check "$dir/TELLUMO6_US.PDF" "$english_headings" ""
check "$dir/TELLUMO6_FR.PDF" "$french_headings" "$english_headings"
check "$dir/TELLUMO6_ES.PDF" "$spanish_headings" "$english_headings"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "manuals: all checks passed"
