// Only carries the tests' precompiled headers.
