# Tests of objects, streams, strings, INI files, threads and graphics.
