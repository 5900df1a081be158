// Shared window behaviour lives here.
