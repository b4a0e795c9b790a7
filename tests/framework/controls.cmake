# Tests of components, controls, forms, menus, dialogs, timers.
