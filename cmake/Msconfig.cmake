# The System Configuration Utility copy the repair restores (filled in by the repair feature).
