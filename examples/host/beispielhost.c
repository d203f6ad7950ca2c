/* A minimal host of the TARVEX plug-in library in plain C: it registers the library for the
 * current user, creates TARVEX.GO, gives it back and checks that the library could now be
 * unloaded. Builds against the installed header and library only:
 *
 *   cc beispielhost.c $(pkg-config --cflags --libs tarvex) -o beispielhost
 *
 * A real host would hand the object to C++ code that sets GO's properties and calls Show.
 */
#include <stdio.h>
#include <tarvex/tarvex.h>

static int fehler(const char* schritt, int nummer) {
    fprintf(stderr, "beispielhost: %s: Fehler %d\n", schritt, nummer);
    return 1;
}

int main(void) {
    void* go = NULL;
    int rc = tarvex_register_server();
    if (rc != 0) return fehler("Registrierung", rc);

    rc = tarvex_get_class_object("Tarvex.Unbekannt", &go);
    if (rc == 0 || go != NULL) return fehler("unbekannte Klasse angelegt", rc);

    rc = tarvex_get_class_object(TARVEX_CLASS_GO, &go);
    if (rc != 0 || go == NULL) return fehler(TARVEX_CLASS_GO " anlegen", rc);
    if (tarvex_can_unload_now() != 0) return fehler("Bibliothek trotz lebendem Objekt entladbar", 0);

    rc = tarvex_release_object(go);
    if (rc != 0) return fehler(TARVEX_CLASS_GO " freigeben", rc);
    if (tarvex_can_unload_now() != 1) return fehler("Bibliothek nach Freigabe nicht entladbar", 0);

    printf("%s angelegt und freigegeben; die Bibliothek kann entladen werden.\n", TARVEX_CLASS_GO);
    return 0;
}
