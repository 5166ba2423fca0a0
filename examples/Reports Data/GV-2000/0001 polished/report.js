// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 1,
  reportType: "RT_POLISH",
  dateTime: "2025-01-06 08:37:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "0.87 ct"],
    ["Measurements", "6.40 × 6.44 × 3.97 mm"],
    ["Colour grade", "E"],
    ["Clarity grade", "VVS1"],
    ["Cut grade", "Very Good"],
    ["Fluorescence", "Faint"]
  ]
};
