/*
 * vantor_model.h - the C interface of libvantor_model.so, the behaviour model of the
 * Vantor-5 traffic-light controller.
 *
 * The library holds at most one model per process. `open` loads a configuration (the
 * compact JSON text of a "vantor5" object) into it, `next` advances it by one second
 * while the caller previews one signal object, `nextAll` advances the whole controller
 * by one second in automatic operation, and `close` discards it. All four return a
 * signed 32-bit status (0 = success, negative = failure, codes below); none of them
 * throws, allocates while stepping, keeps a pointer into a caller's buffer after
 * returning, starts a thread or takes a lock. Calls must not overlap.
 *
 * LOADING THE LIBRARY. The export names `open` and `close` are also the C library's
 * open(2) and close(2). Linking this library into a program would make its `open` and
 * `close` replace the C library's for the whole process and break all file I/O. Load it
 * at run time instead (dlopen(path, RTLD_NOW | RTLD_LOCAL) or QLibrary with local
 * symbol scope) and bind the four functions by name through the pointer types below.
 *
 * For the same reason the prototypes further down clash with <fcntl.h> and <unistd.h>.
 * A translation unit that includes either (directly or through other headers) defines
 * VANTOR_MODEL_NO_PROTOTYPES before including this file and uses only the pointer
 * types and status codes.
 *
 * Units and buffers. Times are whole seconds. State bytes are signal states: 1 red,
 * 2 green, 3 green while a softly conflicting direction is active, 4 green flashing,
 * 5 yellow, 6 red and yellow, 253 special all-red, 254 special yellow flashing, 255
 * special off, 0 none. Phase numbers 13, 14 and 15 are the special phases all-red,
 * yellow flashing and off. Buffers belong to the caller, are used only during the call
 * and are indexed from 0 in the order of the configuration's lists: trigger i is the
 * (i + 1)-th element of "triggers", direction i the (i + 1)-th element of "dirs"."at",
 * signal object i the (i + 1)-th element of "sos", signal group i the (i + 1)-th element
 * of "sig_groups". The library cannot check buffer lengths: each buffer must be at least
 * as long as the list it covers. A null buffer pointer is never dereferenced: an input
 * buffer that is null reads as all zero, an output buffer that is null is not written.
 */
#ifndef VANTOR_MODEL_H
#define VANTOR_MODEL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Status codes. */
#define VANTOR_MODEL_OK 0
/* No model exists (`next`, `nextAll`, `close` before `open` or after `close`). */
#define VANTOR_MODEL_NO_MODEL (-1)
/* Loading stopped; the partly loaded model stays until the next `open` or `close`, and
 * `next`/`nextAll` return its status without doing anything. Checked in this order. */
#define VANTOR_MODEL_BAD_VERSION (-2)        /* "ver" missing or greater than 1 (also: no text) */
#define VANTOR_MODEL_NO_PROMTACTS (-3)       /* "promtacts" missing or not an array */
#define VANTOR_MODEL_NO_TRIGGERS (-4)        /* "triggers" missing or not an array */
#define VANTOR_MODEL_NO_DIRS (-5)            /* "dirs" missing or not an object */
#define VANTOR_MODEL_NO_SIG_GROUP_TYPES (-7) /* "sig_group_types" missing or not an array */
#define VANTOR_MODEL_NO_SIG_GROUPS (-8)      /* "sig_groups" missing or not an array */
#define VANTOR_MODEL_NO_SOS (-6)             /* "sos" missing or not an array */
/* A list whose count is stored in one byte has more than 255 elements (transition
 * programs and their tacts, directions, conflicts, trigger arguments, outputs and state
 * rows of a signal-group type, a group's sources, signal objects, their directions,
 * phases, cycles, cycle steps, plans and plan entries). Met while loading, in order. */
#define VANTOR_MODEL_LIST_TOO_LONG (-9)
/* Memory ran out while loading. */
#define VANTOR_MODEL_OUT_OF_MEMORY (-10)
/* `next`: soIndex is negative or not below the number of signal objects; no buffer is touched. */
#define VANTOR_MODEL_BAD_SIGNAL_OBJECT (-11)

/*
 * open: loads a configuration, replacing any model that exists.
 *   first: the first character of the JSON text of the "vantor5" object;
 *   last:  its closing brace, or one past it (the library never reads *last).
 * Returns 0 when loaded, otherwise the negative status of the new model. Null or
 * reversed pointers give a model with status -2 and read nothing.
 */
typedef int32_t (*VantorModelOpenFn)(const char *first, const char *last);

/*
 * next: one second of a preview of signal object soIndex (0-based).
 *   request (low byte, signed): 0 the object's own automatic program, a positive value
 *     runs the cycle with that number, -1 off (phase 15), -3 all-red (phase 13), -2 and
 *     any other negative value yellow flashing (phase 14). Every other signal object is
 *     switched off while previewing.
 *   trigIn:    one byte per trigger, read: not 0 = active in this second;
 *   outPhase:  one byte, written: the previewed object's phase number;
 *   outStates: one byte per direction of the previewed object's "dirs" list, written:
 *              the state of that direction (positions naming no direction are left as
 *              they were).
 * The first call after `open` is second 0 (midnight for day plans); each call adds one.
 * Returns 0, -1 without a model, the model's status when it failed to load, or -11.
 */
typedef int32_t (*VantorModelNextFn)(int32_t soIndex, int32_t request, const uint8_t *trigIn,
                                     uint8_t *outPhase, uint8_t *outStates);

/*
 * nextAll: one second of the whole controller in automatic operation.
 *   time:   seconds; time mod 86400 is the second of the day, and fixed-time cycles
 *           run at time mod T. Week plans see Monday, year plans 1 January.
 *   trig:   one byte per trigger, read (not 0 = active) and written back with the value
 *           each trigger keeps after its reset rule;
 *   soPhase, soCycle, soDay, soWeek, soYear: one byte per signal object, written: the
 *           phase in force and the numbers of the cycle, day, week and year plan that
 *           chose it (0 when not involved);
 *   dirStates: one byte per direction, written: its state;
 *   sgOut:  one pointer per signal group; group i's output bytes (as many as the outputs
 *           of its signal-group type, "out") are written to sgOut[i]; groups without a
 *           type and null pointers are skipped.
 * Returns 0, -1 without a model, or the model's status when it failed to load.
 */
typedef int32_t (*VantorModelNextAllFn)(uint32_t time, uint8_t *trig, uint8_t *soPhase, uint8_t *soCycle,
                                        uint8_t *soDay, uint8_t *soWeek, uint8_t *soYear, uint8_t *dirStates,
                                        uint8_t *const *sgOut);

/* close: discards the model. Returns 0, or -1 when there was none. */
typedef int32_t (*VantorModelCloseFn)(void);

#ifndef VANTOR_MODEL_NO_PROTOTYPES
int32_t open(const char *first, const char *last);
int32_t next(int32_t soIndex, int32_t request, const uint8_t *trigIn, uint8_t *outPhase, uint8_t *outStates);
int32_t nextAll(uint32_t time, uint8_t *trig, uint8_t *soPhase, uint8_t *soCycle, uint8_t *soDay,
                uint8_t *soWeek, uint8_t *soYear, uint8_t *dirStates, uint8_t *const *sgOut);
int32_t close(void);
#endif

#ifdef __cplusplus
}
#endif

#endif /* VANTOR_MODEL_H */
