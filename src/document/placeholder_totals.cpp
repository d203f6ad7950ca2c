// replaced by the totals sources
