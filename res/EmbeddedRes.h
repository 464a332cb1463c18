// The launcher's compiled resources (setup.res) as bytes linked into host builds, where
// winsim serves them to the resource calls in place of the executable's resource section.
// The definition is generated at build time by tools/embed_res.py.
#ifndef CORVANE_RES_EMBEDDED_RES_H
#define CORVANE_RES_EMBEDDED_RES_H

extern const unsigned char g_corvaneSetupRes[];
extern const unsigned long g_corvaneSetupResSize;

#endif // CORVANE_RES_EMBEDDED_RES_H
