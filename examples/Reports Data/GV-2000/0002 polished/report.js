// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 2,
  reportType: "RT_POLISH",
  dateTime: "2025-01-15 09:14:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "1.24 ct"],
    ["Measurements", "7.70 × 7.74 × 4.77 mm"],
    ["Colour grade", "F"],
    ["Clarity grade", "VVS2"],
    ["Cut grade", "Good"],
    ["Fluorescence", "Medium"]
  ]
};
