// The plug-in's version information on ELF: the marker, then "key\0value\0"
// pairs, then an empty key. Read back by platform::LoadVersionResource.
#define SONVIO_VERSION_BLOCK          \
  "\x7f"                              \
  "SONVIO-VERSIONINFO\x01"            \
  "Translation\0"                     \
  "040904b0\0"                        \
  "CompanyName\0"                     \
  "Sonvio\0"                          \
  "FileDescription\0"                 \
  "FM radio test panel\0"             \
  "FileVersion\0" SONVIO_VERSION_TEXT \
  "\0"                                \
  "ProductName\0"                     \
  "Sonvio\0"                          \
  "ProductVersion\0" SONVIO_VERSION_TEXT "\0"

extern "C" __attribute__((used, visibility("hidden"))) const char kSonvioVersionBlock[] =
    SONVIO_VERSION_BLOCK;
