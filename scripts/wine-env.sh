# Sourced: the project's own Wine prefix, created on first use, under the
# Japanese locale so that the ANSI code page is 932.
_velmor_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$_velmor_root/build/wineprefix}"
export WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  (unset DISPLAY; LANG=ja_JP.UTF-8 wineboot -i >/dev/null 2>&1; wineserver -w)
  # Japanese template fonts resolve to the IPA fonts.
  for face in "ＭＳ Ｐゴシック" "MS PGothic" "MS UI Gothic"; do
    (unset DISPLAY; LANG=ja_JP.UTF-8 wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "$face" /d IPAPGothic /f >/dev/null 2>&1)
  done
  for face in "ＭＳ ゴシック" "MS Gothic"; do
    (unset DISPLAY; LANG=ja_JP.UTF-8 wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "$face" /d IPAGothic /f >/dev/null 2>&1)
  done
  wineserver -w
fi
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
unset _velmor_root
