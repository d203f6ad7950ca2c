/* tarvex.h: the C entry points of the TARVEX plug-in library (libtarvex.so.1).
 *
 * TARVEX computes surveying fees in calculator windows and writes them into a .docx invoice.
 * A host application (an office program, or the hosts tarvex and tarvex-host) never links
 * against the calculators: it creates the class "TARVEX.GO" by name and drives it late-bound.
 *
 * What a host does, in order:
 *
 *   1. Registration, once per user (an installer's or first start's job):
 *      tarvex_register_server() records "TARVEX.GO" -> the path of this library in the user's
 *      class registry, $XDG_CONFIG_HOME/tarvex/classes.json ($HOME/.config when unset).
 *      tarvex_unregister_server() removes the entry again. Both replace the file atomically.
 *
 *   2. Creation: the host looks the class up in the registry, loads the library recorded there
 *      (dlopen) and calls tarvex_get_class_object("TARVEX.GO", &object). A host that links
 *      the library directly may call it straight away. Class names compare caselessly.
 *
 *   3. Use: the object is a `std::shared_ptr<tarvex::com::Dispatch>*` for hosts written in
 *      C++ with the same compiler and standard library as the library; through it the host
 *      sets GO's properties (database, document, user) and calls "Show" with a window index.
 *      For any other host the object is opaque: it may only be handed back.
 *
 *   4. Release: tarvex_release_object(object) gives the object back. Afterwards the host may
 *      ask tarvex_can_unload_now() before it calls dlclose().
 *
 * Every function but tarvex_can_unload_now returns 0 on success, otherwise an error number:
 *   5    invalid call (a null pointer where an object was expected)
 *   7    out of memory
 *   75   the class registry cannot be written, or the library cannot find its own path
 *   429  the library cannot create the requested class
 * No function throws or lets a failure escape; failures inside the calculators are written
 * to the failure log Lumo.log in $TMPDIR (else /tmp) and never reach the host.
 */
#ifndef TARVEX_TARVEX_H
#define TARVEX_TARVEX_H

#if defined(__GNUC__)
#define TARVEX_API __attribute__((visibility("default")))
#else
#define TARVEX_API
#endif

/* The class a host creates by name. */
#define TARVEX_CLASS_GO "TARVEX.GO"

#ifdef __cplusplus
extern "C" {
#endif

/* Records this library as the creator of TARVEX.GO in the current user's class registry,
 * replacing an earlier entry. */
TARVEX_API int tarvex_register_server(void);

/* Removes TARVEX.GO from the current user's class registry (no error when it is absent). */
TARVEX_API int tarvex_unregister_server(void);

/* Creates an object of the class `class_name` (only TARVEX.GO) and stores it in *object, which
 * is set to NULL first and stays NULL on failure. The caller owns the object and gives it
 * back with tarvex_release_object. The first call also makes the calculator windows known. */
TARVEX_API int tarvex_get_class_object(const char* class_name, void** object);

/* Gives back an object from tarvex_get_class_object. NULL is accepted and ignored. */
TARVEX_API int tarvex_release_object(void* object);

/* 1 when no object of the library and no calculator window is alive any more, so that the
 * host may unload the library; 0 otherwise. */
TARVEX_API int tarvex_can_unload_now(void);

#ifdef __cplusplus
}
#endif

#endif /* TARVEX_TARVEX_H */
