// TOVI_TLS declares a thread_local global in its owner's header (the level's
// state is thread_local: a search plays boards on threads of its own). Every
// such global starts from a constant, never from code run at start-up; saying
// so lets clang reach it directly where it would otherwise call a wrapper
// function on every use from another file, which is most of the uses in the
// level's rules. A global given a start-up initializer fails to compile under
// clang.
#ifndef TOVI_SHELL_TLS_H
#define TOVI_SHELL_TLS_H

#if defined(__clang__)
#define TOVI_TLS thread_local __attribute__((require_constant_initialization))
#else
#define TOVI_TLS thread_local
#endif

#endif
