#pragma once

// Each library has one registration, which first calls the one of the library below it and
// then fills its own entries of the engine's factories; calling it again changes nothing. The
// program, or a test, calls the registration of the highest library it uses once, before the
// engine or the engine services are first used (see CEngineStartup).

// The foundation's subsystem factories: the profile manager, the content processors manager
// and the content manager.
void registerFoundationLibrary();
