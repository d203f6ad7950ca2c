// replaced by the fee table sources
