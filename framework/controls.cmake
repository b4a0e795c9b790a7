# Components, controls, forms, menus, dialogs, timers.
